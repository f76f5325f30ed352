// The Access engine against real Access files, compared with mdb-export,
// and against files damaged in the ways that break libmdb.
#include "jet/engine.h"

#include "../support/accessfiles.h"
#include "../support/logcapture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using jet::Error;

namespace {

const QString accessDir = accessfiles::dir();
// Any Access file will do where only the reader process is under test.
const QString shippedDb = QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb");

// Callers have skipped where the folder is missing; a file missing from a
// folder that is there is a broken checkout.
QByteArray sharedBytes(const QString &name)
{
    QFile f(accessDir + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing file %s", qPrintable(f.fileName()));
    return f.readAll();
}

quint16 get16(const QByteArray &b, qsizetype at)
{
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

void put16(QByteArray &b, qsizetype at, quint16 v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char(v >> 8);
}

void put32(QByteArray &b, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char(v >> (8 * i));
}

// Page 0 keeps its fields from 0x18 on under RC4 with a fixed key.
QByteArray headerKeyStream(int length)
{
    const quint8 key[4] = { 0xC7, 0xDA, 0x39, 0x6B };
    quint8 s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = quint8(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    QByteArray out(length, '\0');
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        out[n] = char(s[(s[i] + s[j]) & 0xff]);
    }
    return out;
}

// One field of mdb-export's CSV: NULL comes out unquoted and empty.
struct CsvField
{
    QString text;
    bool quoted = false;
};

QList<QList<CsvField>> parseCsv(const QString &csv)
{
    QList<QList<CsvField>> rows;
    QList<CsvField> row;
    CsvField field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (inQuotes) {
            if (c == u'"' && i + 1 < csv.size() && csv[i + 1] == u'"') {
                field.text += c;
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                field.text += c;
            }
        } else if (c == u'"') {
            inQuotes = field.quoted = true;
        } else if (c == u',') {
            row << field;
            field = {};
        } else if (c == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field = {};
        } else {
            field.text += c;
        }
    }
    return rows;
}

// mdb-export prints booleans as 0/1, dates always with a time, currency
// with four decimals and doubles with more digits: compare by meaning.
bool agrees(const jet::Value &ours, const CsvField &theirs)
{
    if (!theirs.quoted && theirs.text.isEmpty()) // NULL (or empty text, to mdb-export)
        return !ours || ours->isEmpty();
    if (!ours)
        return false;
    if (*ours == theirs.text)
        return true;
    if (*ours == u"True" || *ours == u"False")
        return theirs.text == (*ours == u"True" ? u"1" : u"0");
    static const QRegularExpression dateOnly(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d$"));
    static const QRegularExpression timeOnly(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
    if (dateOnly.match(*ours).hasMatch())
        return theirs.text == *ours + QStringLiteral(" 00:00:00");
    if (timeOnly.match(*ours).hasMatch())
        return theirs.text == QStringLiteral("1899/12/30 ") + *ours;
    bool ok1 = false, ok2 = false;
    const double a = ours->toDouble(&ok1), b = theirs.text.toDouble(&ok2);
    return ok1 && ok2 && std::fabs(a - b) <= 1e-13 * std::max(1.0, std::fabs(b));
}

} // namespace

class TestJetEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void readTable_agreesWithMdbExport_data();
    void readTable_agreesWithMdbExport();
    void readTable_fieldsByName_inAskedOrder();
    void readTable_keepsNullApartFromEmptyText();
    void readTable_jet3CodePage932_readsAsCp932();
    void readTable_ignoresUsersLibmdbEnvironment();
    void readTable_truncatedJet3_readsTheIntactTable();

    void readTable_badInput_reportsCause_data();
    void readTable_badInput_reportsCause();
    void readTable_damagedFile_endsInError_data();
    void readTable_damagedFile_endsInError();
    void readTable_damagedShippedFile_isDamaged_data();
    void readTable_damagedShippedFile_isDamaged();
    void readTable_libmdbNoise_goesToDetails();
    void readTable_brokenReader_endsInError_data();
    void readTable_brokenReader_endsInError();
    void readTable_failure_logsCauseAndDetails();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QString writeReader(const QString &name, const QByteArray &script);
    QTemporaryDir m_dir;
};

void TestJetEngine::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestJetEngine::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A stand-in for vorlane-jetread: a shell script only its owner may run.
QString TestJetEngine::writeReader(const QString &name, const QByteArray &script)
{
    QFile::remove(m_dir.filePath(name)); // not writable once made
    const QString path = write(name, "#!/bin/sh\n" + script);
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner))
        qFatal("cannot make %s executable", qPrintable(path));
    return path;
}

void TestJetEngine::readTable_agreesWithMdbExport_data()
{
    SKIP_WITHOUT_ACCESS_FILES();
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    for (const char *t : { "Table1", "Table2", "Table3", "Table4" })
        QTest::addRow("jet3 %s", t) << "jet3-testV1997.mdb" << t;
    for (const char *t :
        { "Shippers", "Orders", "Products", "Categories", "Customers", "Employees" })
        QTest::addRow("nwind %s", t) << "jet3-nwind.mdb" << t;
    QTest::newRow("nwind Umsätze") << "jet3-nwind.mdb" << QStringLiteral("Umsätze");
    QTest::newRow("jet4 unicode") << "jet4-testUnicodeCompV2003.mdb"
                                  << "Table";
    QTest::newRow("jet4 dates") << "jet4-DateTestDatabase.mdb"
                                << "DateTest";
    QTest::newRow("ace users") << "ace12-fixedTextTestV2007.accdb"
                               << "users";
}

void TestJetEngine::readTable_agreesWithMdbExport()
{
    QFETCH(QString, file);
    QFETCH(QString, table);
    const QString path = accessDir + file;

    QProcess exporter;
    exporter.start(QStringLiteral(VORLANE_MDB_EXPORT),
        { "-b", "strip", "-D", "%Y/%m/%d %H:%M:%S", "-T", "%Y/%m/%d %H:%M:%S", path, table });
    QVERIFY(exporter.waitForFinished(30000));
    QCOMPARE(exporter.exitCode(), 0);
    const auto expected = parseCsv(QString::fromUtf8(exporter.readAllStandardOutput()));
    QVERIFY(!expected.isEmpty());

    const jet::Table got = jet::readTable(path, table, {});
    QStringList header;
    for (const auto &f : expected[0])
        header << f.text;
    QCOMPARE(got.fields, header);
    QCOMPARE(qsizetype(got.rows.size()), expected.size() - 1);
    for (qsizetype r = 0; r < expected.size() - 1; ++r) {
        const auto &want = expected[r + 1];
        QCOMPARE(qsizetype(got.rows[size_t(r)].size()), want.size());
        for (qsizetype c = 0; c < want.size(); ++c) {
            const jet::Value &v = got.rows[size_t(r)][size_t(c)];
            // mdb-export's own marker for dates it cannot convert.
            if (want[c].text == u"1900/01/00 00:00:00")
                continue;
            if (!agrees(v, want[c]))
                QFAIL(qPrintable(
                    QStringLiteral("row %1 %2: ours '%3', mdb-export '%4'")
                        .arg(r)
                        .arg(header[c], v ? *v : QStringLiteral("<NULL>"), want[c].text)));
        }
    }
}

void TestJetEngine::readTable_fieldsByName_inAskedOrder()
{
    SKIP_WITHOUT_ACCESS_FILES();
    const auto t
        = jet::readTable(accessDir + "jet3-testV1997.mdb", "Table1", { "I", "A", "F", "H" });
    QCOMPARE(t.fields, QStringList({ "I", "A", "F", "H" }));
    QCOMPARE(t.rows.size(), size_t(2));
    const std::vector<jet::Value> second { QStringLiteral("True"), QStringLiteral("abcdefg"),
        QStringLiteral("444.555"), QStringLiteral("3.5") };
    QCOMPARE(t.rows[1], second);

    const auto dates = jet::readTable(
        accessDir + "jet4-DateTestDatabase.mdb", "DateTest", { "DateCol", "LongTextCol" });
    // Before 1900, where libmdb's own text gives up.
    QCOMPARE(dates.rows[2][0], jet::Value(QStringLiteral("1899/01/01")));
    QCOMPARE(dates.rows[3][0], jet::Value(QStringLiteral("0633/01/01")));
}

void TestJetEngine::readTable_keepsNullApartFromEmptyText()
{
    SKIP_WITHOUT_ACCESS_FILES();
    // NULLs as the file has them.
    const auto orders = jet::readTable(accessDir + "jet3-nwind.mdb", "Orders", { "ShipRegion" });
    int nulls = 0, texts = 0;
    for (const auto &row : orders.rows)
        row[0] ? ++texts : ++nulls;
    QVERIFY(nulls > 0);
    QVERIFY(texts > 0);

    // An empty text: end the first row's Unicode value where it starts.
    QByteArray bytes = sharedBytes("jet4-testUnicodeCompV2003.mdb");
    const qsizetype at = bytes.indexOf(QByteArray("\xff\xfeonly ascii chars"));
    QVERIFY(at > 0);
    const qsizetype page = at / 4096 * 4096;
    const int rowCount = get16(bytes, page + 12);
    bool patched = false;
    for (int r = 0; r < rowCount && !patched; ++r) {
        const int start = get16(bytes, page + 14 + 2 * r) & 0x1fff;
        const int end = r == 0 ? 4096 : get16(bytes, page + 12 + 2 * r) & 0x1fff;
        if (page + start > at || at >= page + end)
            continue;
        const qsizetype rowEnd = page + end - 1;
        const int bitmask = (get16(bytes, page + start) + 7) / 8;
        const int varCols = get16(bytes, rowEnd - bitmask - 1);
        for (int i = 0; i < varCols; ++i) {
            const qsizetype slot = rowEnd - bitmask - 3 - 2 * i;
            if (page + start + get16(bytes, slot) == at) {
                put16(bytes, slot - 2, get16(bytes, slot));
                patched = true;
            }
        }
    }
    QVERIFY(patched);
    const auto t = jet::readTable(write("empty-text.mdb", bytes), "Table", { "ID", "Unicode" });
    QCOMPARE(t.rows[0][0], jet::Value(QStringLiteral("1")));
    QVERIFY(t.rows[0][1].has_value());
    QCOMPARE(*t.rows[0][1], QString());
    QCOMPARE(t.rows[1][1], jet::Value(QStringLiteral("ääkkösiä")));
}

void TestJetEngine::readTable_jet3CodePage932_readsAsCp932()
{
    SKIP_WITHOUT_ACCESS_FILES();
    QByteArray bytes = sharedBytes("jet3-testV1997.mdb");
    // Code page 932 into the header (field 0x3c, under the header's RC4).
    const QByteArray ks = headerKeyStream(126);
    const int cpAt = 0x3c, ksAt = 0x3c - 0x18;
    put16(bytes, cpAt, quint16(932 ^ (quint8(ks[ksAt]) | quint8(ks[ksAt + 1]) << 8)));
    // "～①abc" in CP932 where "abcdefg" was: the same seven bytes. glibc's
    // SHIFT-JIS reads 81 60 as U+301C and has no 87 40 at all.
    QCOMPARE(bytes.count("abcdefg"), qsizetype(1));
    bytes.replace(bytes.indexOf("abcdefg"), 7,
        QByteArray("\x81\x60\x87\x40"
                   "abc"));
    const auto t = jet::readTable(write("cp932.mdb", bytes), "Table1", { "A", "B" });
    QCOMPARE(t.rows.size(), size_t(2));
    QCOMPARE(t.rows[1][0], jet::Value(QStringLiteral("～①abc")));
    QCOMPARE(t.rows[1][1], jet::Value(QStringLiteral("hijklmnop")));
}

void TestJetEngine::readTable_ignoresUsersLibmdbEnvironment()
{
    SKIP_WITHOUT_ACCESS_FILES();
    const QByteArray names[] = { "MDBICONV", "MDB_JET3_CHARSET", "MDBPATH", "MDBOPTS" };
    qputenv("MDBICONV", "ASCII");
    qputenv("MDB_JET3_CHARSET", "ASCII");
    qputenv("MDBPATH", accessDir.toLocal8Bit());
    qputenv("MDBOPTS", "debug_all");
    auto restore = qScopeGuard([&] {
        for (const auto &n : names)
            qunsetenv(n.constData());
    });
    const auto t
        = jet::readTable(accessDir + "jet4-testUnicodeCompV2003.mdb", "Table", { "Unicode" });
    QCOMPARE(t.rows[4][0], jet::Value(QStringLiteral("漢字仮名交じり文")));
    const auto u = jet::readTable(accessDir + "jet3-nwind.mdb", QStringLiteral("Umsätze"), {});
    QVERIFY(!u.rows.empty());
    // MDBPATH would find the file elsewhere; the engine only opens the path given.
    QDir::setCurrent(m_dir.path());
    QVERIFY_THROWS_EXCEPTION(Error, jet::readTable("jet3-testV1997.mdb", "Table1", {}));
}

void TestJetEngine::readTable_truncatedJet3_readsTheIntactTable()
{
    SKIP_WITHOUT_ACCESS_FILES();
    // libmdb's catalog (mdb-tables, mdb-export) hangs on this cut in its
    // property parser; the engine never goes there.
    const QString path = write("cut46.mdb", sharedBytes("jet3-testV1997.mdb").left(46 * 2048));
    const auto whole = jet::readTable(accessDir + "jet3-testV1997.mdb", "Table1", {});
    const auto cut = jet::readTable(path, "Table1", {});
    QCOMPARE(cut.rows, whole.rows);
}

void TestJetEngine::readTable_badInput_reportsCause_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("cause");
    QTest::addColumn<QString>("messagePart");

    const QString table = QStringLiteral("六角ボルト・ナット");
    QTest::newRow("missing file") << m_dir.filePath("nowhere/vorlane.mdb") << table << QStringList()
                                  << int(Error::Cause::FileNotFound) << "が見つかりません";
    QDir(m_dir.path()).mkpath("dir/vorlane.mdb");
    QTest::newRow("directory") << m_dir.filePath("dir/vorlane.mdb") << table << QStringList()
                               << int(Error::Cause::NotAFile) << "ファイルではない";
    QTest::newRow("empty file") << write("empty.mdb", {}) << table << QStringList()
                                << int(Error::Cause::NotAccessDatabase) << "Access";
    QTest::newRow("text file") << write("text.mdb", QByteArray("ｍ,ｐ\n3,0.5\n").repeated(400))
                               << table << QStringList() << int(Error::Cause::NotAccessDatabase)
                               << "Access";
    if (!accessfiles::present()) {
        // Stands for the cases below, which are skipped.
        QTest::newRow("Access files") << QString() << table << QStringList() << 0 << QString();
        return;
    }
    const QString jet3 = accessDir + "jet3-testV1997.mdb";
    QByteArray version = sharedBytes("jet4-testUnicodeCompV2003.mdb");
    version[0x14] = char(0x42);
    QTest::newRow("unknown version") << write("version.mdb", version) << "Table" << QStringList()
                                     << int(Error::Cause::NotAccessDatabase) << "Access";
    QTest::newRow("no such table")
        << jet3 << table << QStringList() << int(Error::Cause::TableNotFound) << table;
    QTest::newRow("table name case")
        << jet3 << "TABLE1" << QStringList() << int(Error::Cause::TableNotFound) << "TABLE1";
    QTest::newRow("missing field") << jet3 << "Table1" << QStringList { "A", "ｄａ" }
                                   << int(Error::Cause::FieldNotFound) << "ｄａ";
    QTest::newRow("full-width is not half-width")
        << jet3 << "Table1" << QStringList { "Ａ" } << int(Error::Cause::FieldNotFound) << "Ａ";
}

void TestJetEngine::readTable_badInput_reportsCause()
{
    QFETCH(QString, path);
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    QFETCH(int, cause);
    QFETCH(QString, messagePart);
    if (path.isEmpty())
        QSKIP(accessfiles::skipReason().constData());
    try {
        jet::readTable(path, table, fields);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(int(e.cause()), cause);
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
        QCOMPARE(QString::fromStdString(e.what()), e.message());
    }
}

void TestJetEngine::readTable_damagedFile_endsInError_data()
{
    SKIP_WITHOUT_ACCESS_FILES();
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("table");

    const QByteArray jet3 = sharedBytes("jet3-testV1997.mdb");
    const QByteArray jet4 = sharedBytes("jet4-testUnicodeCompV2003.mdb");
    const QByteArray ace = sharedBytes("ace12-fixedTextTestV2007.accdb");
    for (int pages : { 3, 10, 20, 30 })
        QTest::addRow("jet3 cut at page %d", pages)
            << write(QStringLiteral("jet3-%1.mdb").arg(pages), jet3.left(pages * 2048)) << "Table1";
    for (int pages : { 3, 8, 32 })
        QTest::addRow("jet4 cut at page %d", pages)
            << write(QStringLiteral("jet4-%1.mdb").arg(pages), jet4.left(pages * 4096)) << "Table";
    QTest::newRow("ace cut at page 32") << write("ace-32.accdb", ace.left(32 * 4096)) << "users";
    QTest::newRow("jet3 cut mid-page")
        << write("jet3-mid.mdb", jet3.left(40 * 2048 + 777)) << "Table1";
    QTest::newRow("jet4 cut mid-page")
        << write("jet4-mid.mdb", jet4.left(4096 * 60 + 1)) << "Table";
    QTest::newRow("jet3 cut in header") << write("jet3-head.mdb", jet3.left(100)) << "Table1";

    QByteArray zeroed3 = jet3, zeroed4 = jet4;
    zeroed3.replace(2 * 2048, 2048, QByteArray(2048, '\0'));
    zeroed4.replace(2 * 4096, 4096, QByteArray(4096, '\0'));
    QTest::newRow("jet3 page 2 zeroed") << write("jet3-p2.mdb", zeroed3) << "Table1";
    QTest::newRow("jet4 page 2 zeroed") << write("jet4-p2.mdb", zeroed4) << "Table";

    // Table1's definition (page 29) names as its usage map a row of zero
    // length: libmdb keeps a NULL map and its row fetch crashes on it.
    QByteArray noMap = jet3;
    qsizetype target = -1;
    for (int pg = 1; pg < noMap.size() / 2048 && target < 0; ++pg) {
        const qsizetype base = qsizetype(pg) * 2048;
        for (int r = 1; r < 256; ++r) {
            const int start = get16(noMap, base + 10 + 2 * r) & 0x1fff;
            const int next = get16(noMap, base + 8 + 2 * r) & 0x1fff;
            if (start == next && next <= 2048) {
                target = qsizetype(pg) << 8 | r;
                break;
            }
        }
    }
    QVERIFY(target > 0);
    QCOMPARE(quint8(noMap[29 * 2048]), quint8(0x02)); // a table definition
    put32(noMap, 29 * 2048 + 35, quint32(target));
    QTest::newRow("usage map names no row") << write("nomap.mdb", noMap) << "Table1";

    // The cut that hangs libmdb's property parser, asking for a table
    // whose pages were cut off.
    QTest::newRow("jet3 cut at page 46") << write("jet3-46.mdb", jet3.left(46 * 2048)) << "Table3";
}

void TestJetEngine::readTable_damagedFile_endsInError()
{
    QFETCH(QString, path);
    QFETCH(QString, table);
    try {
        jet::readTable(path, table, {});
        QFAIL("no error");
    } catch (const Error &e) {
        QVERIFY2(e.cause() == Error::Cause::Damaged, qPrintable(e.message() + u'\n' + e.details()));
        QVERIFY(e.message().contains(path));
    }
}

// Every data page of the shipped file, zeroed, and (where a table owns it)
// handed to another table; and the catalog's page without rows. libmdb
// only warns and skips a page that is not the table's, so the table would
// read short; a damaged catalog would read as a missing table.
void TestJetEngine::readTable_damagedShippedFile_isDamaged_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("detail"); // what the reader names

    QFile shipped(QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    const QByteArray bytes = shipped.readAll();
    const int pageSize = 4096;
    QCOMPARE(bytes.size() % pageSize, 0);
    QList<quint32> definitions;
    for (int pg = 1; pg < bytes.size() / pageSize; ++pg)
        if (bytes[qsizetype(pg) * pageSize] == 0x02)
            definitions << quint32(pg);
    int dataPages = 0;
    qsizetype catalogPage = -1;
    for (int pg = 1; pg < bytes.size() / pageSize; ++pg) {
        const qsizetype at = qsizetype(pg) * pageSize;
        if (bytes[at] != 0x01)
            continue;
        ++dataPages;
        QByteArray zeroed = bytes;
        zeroed.replace(at, pageSize, QByteArray(pageSize, '\0'));
        QTest::addRow("page %d zeroed", pg)
            << write(QStringLiteral("zeroed-%1.mdb").arg(pg), zeroed) << QString();
        const quint32 owner = quint32(get16(bytes, at + 4) | get16(bytes, at + 6) << 16);
        if (owner == 0) // the page that holds the usage maps themselves
            continue;
        if (owner == 2) // MSysObjects' definition is always page 2
            catalogPage = at;
        QByteArray moved = bytes;
        put32(
            moved, at + 4, owner == definitions.first() ? definitions.last() : definitions.first());
        QTest::addRow("page %d of table at %u handed to another", pg, owner)
            << write(QStringLiteral("moved-%1.mdb").arg(pg), moved)
            << QStringLiteral("page %1 of its map").arg(pg);
    }
    QVERIFY(dataPages >= 3); // the catalog's, the table's, the usage maps'

    // The catalog's page with its row count cleared: no rows at all, not
    // even the catalog's own, is no catalog.
    QByteArray noRows = bytes;
    QVERIFY(catalogPage > 0);
    put16(noRows, catalogPage + 12, 0);
    QTest::newRow("catalog page lists no rows")
        << write(QStringLiteral("norows.mdb"), noRows) << QStringLiteral("list itself");
}

void TestJetEngine::readTable_damagedShippedFile_isDamaged()
{
    QFETCH(QString, path);
    QFETCH(QString, detail);
    try {
        const auto t = jet::readTable(path, QStringLiteral("六角ボルト・ナット"), {});
        QFAIL(qPrintable(QStringLiteral("read %1 rows").arg(t.rows.size())));
    } catch (const Error &e) {
        QVERIFY2(e.cause() == Error::Cause::Damaged, qPrintable(e.message() + u'\n' + e.details()));
        QVERIFY(e.message().contains(path));
        QVERIFY(e.message().contains(QStringLiteral("壊れている")));
        QVERIFY2(e.details().contains(detail), qPrintable(e.details()));
    }
}

void TestJetEngine::readTable_libmdbNoise_goesToDetails()
{
    SKIP_WITHOUT_ACCESS_FILES();
    QByteArray zeroed = sharedBytes("jet3-testV1997.mdb");
    zeroed.replace(2 * 2048, 2048, QByteArray(2048, '\0'));
    const QString path = write("noise.mdb", zeroed);
    try {
        jet::readTable(path, "Table1", {});
        QFAIL("no error");
    } catch (const Error &e) {
        // libmdb's own complaint, caught from the reader's output.
        QVERIFY2(e.details().contains("mdb_read_table"), qPrintable(e.details()));
        QVERIFY(e.details().contains("MSysObjects"));
    }
}

void TestJetEngine::readTable_brokenReader_endsInError_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<int>("timeLimitMs");
    QTest::addColumn<int>("cause");
    QTest::addColumn<QString>("messagePart"); // or empty
    QTest::addColumn<QString>("detailsPart"); // or empty
    const int standard = int(jet::ReadOptions().timeLimit.count());
    const QString hangs = writeReader("hang.sh", "echo VJR1\nexec sleep 60\n");
    const QString crashes
        = writeReader("crash.sh", "printf 'VJR1\\nH1:S1:AR'\necho noise >&2\nkill -SEGV $$\n");
    QTest::newRow("hangs") << hangs << 300 << int(Error::Cause::TimedOut) << "時間がかかりすぎた"
                           << QString();
    QTest::newRow("crashes") << crashes << standard << int(Error::Cause::Damaged) << QString()
                             << "noise";
    QTest::newRow("missing") << m_dir.filePath("no-such-reader") << standard
                             << int(Error::Cause::ReaderFailed) << QString() << QString();
}

void TestJetEngine::readTable_brokenReader_endsInError()
{
    QFETCH(QString, reader);
    QFETCH(int, timeLimitMs);
    QFETCH(int, cause);
    QFETCH(QString, messagePart);
    QFETCH(QString, detailsPart);
    jet::ReadOptions options;
    options.readerPath = reader;
    options.timeLimit = std::chrono::milliseconds(timeLimitMs);
    QElapsedTimer clock;
    clock.start();
    try {
        jet::readTable(shippedDb, QStringLiteral("六角ボルト・ナット"), {}, options);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(int(e.cause()), cause);
        QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
        QVERIFY2(e.details().contains(detailsPart), qPrintable(e.details()));
    }
    // Stopped at its limit, not when the reader gives up by itself.
    QVERIFY2(clock.elapsed() < timeLimitMs + 10000, qPrintable(QString::number(clock.elapsed())));
}

void TestJetEngine::readTable_failure_logsCauseAndDetails()
{
    // The reader checks the header itself, so any file will do here.
    const QString path = write("logged.mdb", "not a database");
    jet::ReadOptions options;
    options.readerPath = writeReader("noisy.sh", "echo 'mdb_read_table: no such page' >&2\n");
    LogCapture log;
    QVERIFY_THROWS_EXCEPTION(Error, jet::readTable(path, "Table1", {}, options));
    const QStringList warnings = log.warnings("vorlane.jet");
    QCOMPARE(warnings.size(), 1);
    for (const QString &part : { path, QStringLiteral("Table1"), QStringLiteral("Damaged"),
             QStringLiteral("mdb_read_table: no such page") })
        QVERIFY2(warnings[0].contains(part), qPrintable(warnings[0]));
}

QTEST_GUILESS_MAIN(TestJetEngine)
#include "tst_jetengine.moc"
