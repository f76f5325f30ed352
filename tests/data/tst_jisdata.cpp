// Plain-typo checks on the dimension data set: relations every hexagon bolt,
// nut and hole row must satisfy, and every dimension growing with the size.
// Also the data set's account of its sources: every value names where it
// comes from, in ids that data/README.md defines, and the README's closing
// counts are the ones the sources column gives.

#include "../support/dataset.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>

namespace {

using Data = testing::DataSet;

const Data &data()
{
    static const Data d = testing::readDataSet();
    return d;
}

std::optional<double> value(const QStringList &row, const char *field)
{
    const qsizetype column = data().header.indexOf(QLatin1String(field));
    if (column < 0)
        qFatal("the data set has no column %s", field);
    const QString cell = row.value(column);
    if (cell.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = cell.toDouble(&ok);
    if (!ok)
        qFatal("%s of %s is not a number: %s", field, qPrintable(row.value(0)), qPrintable(cell));
    return v;
}

double nominalDiameter(const QStringList &row)
{
    return row.value(0).mid(1).toDouble();
}

const QString readmePath = QStringLiteral(VORLANE_SOURCE_DIR "/data/README.md");

QString readme()
{
    QFile file(readmePath);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

// id -> kind (JIS, other, rule, bolt, definition), from the table under
// "### Sources" in data/README.md.
QHash<QString, QString> sourceKinds()
{
    static const QRegularExpression rowPattern(QStringLiteral("^\\| `([^`]+)` \\| (\\w+) \\|"));
    QHash<QString, QString> kinds;
    bool inList = false;
    for (const QString &line : readme().split(u'\n')) {
        if (line.startsWith(u'#')) {
            inList = line == QLatin1String("### Sources");
            continue;
        }
        if (const auto m = rowPattern.match(line); inList && m.hasMatch())
            kinds.insert(m.captured(1), m.captured(2));
    }
    return kinds;
}

const QHash<QString, QString> &kinds()
{
    static const QHash<QString, QString> k = sourceKinds();
    return k;
}

using Backing = QMap<QString, QStringList>; // field -> source ids

// Reads a sources cell ("s,k: KSJIS+NEJIYA; de: RIVI") against its row. Every
// field holding a value must be in exactly one group, no empty field in any,
// and every id must be in the list.
Backing readSources(const QStringList &row, QStringList *problems)
{
    static const QRegularExpression groupPattern(
        QStringLiteral("^([a-z0-9]+(?:,[a-z0-9]+)*): ([A-Za-z0-9-]+(?:\\+[A-Za-z0-9-]+)*)$"));
    Backing backing;
    for (const QString &group : row.value(data().header.size() - 1).split(QStringLiteral("; "))) {
        const auto m = groupPattern.match(group);
        if (!m.hasMatch()) {
            *problems << QStringLiteral("malformed group \"%1\"").arg(group);
            continue;
        }
        const QStringList ids = m.captured(2).split(u'+');
        for (const QString &id : ids) {
            if (!kinds().contains(id))
                *problems << QStringLiteral("unknown id %1").arg(id);
            if (ids.count(id) > 1)
                *problems << QStringLiteral("%1 named twice in \"%2\"").arg(id, group);
        }
        for (const QString &field : m.captured(1).split(u',')) {
            const qsizetype column = data().header.indexOf(field);
            if (column < 0 || column == data().header.size() - 1)
                *problems << QStringLiteral("unknown field %1").arg(field);
            else if (row.value(column).isEmpty())
                *problems << QStringLiteral("%1 is empty but has a source").arg(field);
            if (backing.contains(field))
                *problems << QStringLiteral("%1 in two groups").arg(field);
            backing.insert(field, ids);
        }
    }
    for (qsizetype c = 0; c + 1 < data().header.size(); ++c)
        if (!row.value(c).isEmpty() && !backing.contains(data().header[c]))
            *problems << QStringLiteral("%1 has no source").arg(data().header[c]);
    return backing;
}

enum Category { TwoOrMore, One, None, Rule, Definition, CategoryCount };

Category category(const QStringList &ids)
{
    qsizetype jis = 0;
    bool rule = false;
    for (const QString &id : ids) {
        const QString kind = kinds().value(id);
        if (kind == QLatin1String("definition"))
            return Definition;
        jis += kind == QLatin1String("JIS");
        rule = rule || kind == QLatin1String("rule");
    }
    return jis >= 2 ? TwoOrMore : jis == 1 ? One : rule ? Rule : None;
}

// The closing section of data/README.md, from the sources column.
QString countsSection()
{
    int counts[CategoryCount] = {};
    int all = 0;
    for (const QStringList &row : data().rows) {
        QStringList problems;
        for (const QStringList &ids : readSources(row, &problems)) {
            ++counts[category(ids)];
            ++all;
        }
    }
    return QStringLiteral(
        "## Confirmation counts\n"
        "\n"
        "Written by tests/data (tst_jisdata) from the `sources` column. After a change there it\n"
        "fails until `VORLANE_WRITE_DATA_COUNTS=1 tst_jisdata` has rewritten this section.\n"
        "\n"
        "| stored values | count |\n"
        "|---|---|\n"
        "| confirmed by two or more JIS sources | %1 |\n"
        "| confirmed by one JIS source | %2 |\n"
        "| confirmed by no JIS source (carried over from the bolt, or non-JIS sources only) | %3 "
        "|\n"
        "| computed by a rule (`RULE-TN`, `RULE-DP`) | %4 |\n"
        "| true by definition (`m`, `df`) | %5 |\n"
        "| all | %6 |\n")
        .arg(counts[TwoOrMore])
        .arg(counts[One])
        .arg(counts[None])
        .arg(counts[Rule])
        .arg(counts[Definition])
        .arg(all);
}

} // namespace

class TestJisData : public QObject
{
    Q_OBJECT

private slots:
    void file_holdsM3ToM130InSizeOrder()
    {
        // The size first, the sources last; the fields between follow from
        // the header (the pages test checks that they are the pages' fields).
        const QStringList &header = data().header;
        QCOMPARE(header.first(), QStringLiteral("m"));
        QCOMPARE(header.last(), QStringLiteral("sources"));
        QCOMPARE(data().rows.size(), 42);
        QCOMPARE(data().rows.first().value(0), QStringLiteral("M3"));
        QCOMPARE(data().rows.last().value(0), QStringLiteral("M130"));
        double last = 0;
        for (const QStringList &row : data().rows) {
            QCOMPARE(row.size(), header.size());
            QVERIFY2(row[0].startsWith(u'M') && nominalDiameter(row) > last, qPrintable(row[0]));
            last = nominalDiameter(row);
            for (qsizetype c = 1; c + 1 < row.size(); ++c) {
                bool ok = row[c].isEmpty();
                if (!ok)
                    row[c].toDouble(&ok);
                QVERIFY2(ok, qPrintable(row[0] + u' ' + header[c] + u' ' + row[c]));
            }
        }
    }

    void row_keepsTheRelationsOfItsDimensions_data() { rows_data(); }

    // Each relation is checked where both values are present.
    void row_keepsTheRelationsOfItsDimensions()
    {
        QFETCH(QStringList, row);
        const struct
        {
            const char *larger, *smaller;
        } relations[] = {
            { "e", "s" },
            { "ea", "sa" },
            { "k1", "k3" },
            { "dd", "df" },
            { "df", "de" },
            { "z", "dd" },
        };
        for (const auto &r : relations) {
            const auto a = value(row, r.larger), b = value(row, r.smaller);
            if (a && b)
                QVERIFY2(*a > *b,
                    qPrintable(QStringLiteral("%1 %2 = %3 is not above %4 = %5")
                                   .arg(row[0], r.larger)
                                   .arg(*a)
                                   .arg(r.smaller)
                                   .arg(*b)));
        }
        QCOMPARE(value(row, "df"), std::optional(nominalDiameter(row)));

        // The tables round the width across corners, at most to a whole mm.
        for (const auto &[corners, flats] : { std::pair { "e", "s" }, std::pair { "ea", "sa" } }) {
            const auto e = value(row, corners), s = value(row, flats);
            if (e && s)
                QVERIFY2(std::abs(*e - *s / std::cos(std::numbers::pi / 6)) <= 0.5,
                    qPrintable(QStringLiteral("%1 %2 = %3 is far from %4 / cos 30°")
                                   .arg(row[0], corners)
                                   .arg(*e)
                                   .arg(flats)));
        }
    }

    void column_doesNotDecreaseWithTheSize_data()
    {
        QTest::addColumn<QString>("field");
        for (qsizetype c = 1; c + 1 < data().header.size(); ++c)
            QTest::newRow(qPrintable(data().header[c])) << data().header[c];
    }

    // Compared with the nearest smaller size that has a value, so that a
    // typo next to a gap is caught too.
    void column_doesNotDecreaseWithTheSize()
    {
        QFETCH(QString, field);
        const QByteArray name = field.toLatin1();
        std::optional<double> previous;
        QString previousSize;
        for (const QStringList &row : data().rows) {
            const auto v = value(row, name.constData());
            if (!v)
                continue;
            if (previous)
                QVERIFY2(*v >= *previous,
                    qPrintable(QStringLiteral("%1: %2 = %3 after %4 = %5")
                                   .arg(field, row[0])
                                   .arg(*v)
                                   .arg(previousSize)
                                   .arg(*previous)));
            previous = v;
            previousSize = row[0];
        }
    }

    void sources_nameEveryValueWithListedIds_data() { rows_data(); }

    void sources_nameEveryValueWithListedIds()
    {
        QVERIFY2(kinds().size() > 20, "no source list under \"### Sources\" in data/README.md");
        QFETCH(QStringList, row);
        QStringList problems;
        readSources(row, &problems);
        QVERIFY2(
            problems.isEmpty(), qPrintable(row[0] + u' ' + problems.join(QStringLiteral("; "))));
    }

    // The reader above must find the faults a hand edit makes.
    void sources_faultyCell_isReported_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("problem");
        const QString rest = QStringLiteral("; p,k1: KSJIS; t1: RULE-TN");
        QTest::newRow("unknown id") << "m: DEF+NOSUCH" + rest << "unknown id NOSUCH";
        QTest::newRow("value without source")
            << QStringLiteral("p,k1: KSJIS; t1: RULE-TN") << "m has no source";
        QTest::newRow("empty field with source") << "m,k3: DEF" + rest << "k3 is empty";
        QTest::newRow("field twice") << "m: DEF; t1: BOLT" + rest << "t1 in two groups";
        QTest::newRow("unknown field") << "m,q: DEF" + rest << "unknown field q";
        QTest::newRow("no separator") << "m DEF" + rest << "malformed group";
        QTest::newRow("id twice") << "m: DEF+DEF" + rest << "DEF named twice";
    }

    void sources_faultyCell_isReported()
    {
        QFETCH(QString, cell);
        QFETCH(QString, problem);
        QStringList row(data().header.size() - 1);
        row[0] = QStringLiteral("M8");
        row[data().header.indexOf(QLatin1String("p"))] = QStringLiteral("1.25");
        row[data().header.indexOf(QLatin1String("k1"))] = QStringLiteral("6.5");
        row[data().header.indexOf(QLatin1String("t1"))] = QStringLiteral("8");
        row << cell;
        QStringList problems;
        readSources(row, &problems);
        QVERIFY2(std::any_of(problems.cbegin(), problems.cend(),
                     [&](const QString &p) { return p.startsWith(problem); }),
            qPrintable(problems.join(QStringLiteral("; "))));
    }

    void markedValues_equalWhatTheyAreComputedFrom_data() { rows_data(); }

    // A value marked as a rule's, the bolt's or true by definition is checked
    // against that; each such mark belongs to its own fields only.
    void markedValues_equalWhatTheyAreComputedFrom()
    {
        QFETCH(QStringList, row);
        QStringList problems; // reported by sources_nameEveryValueWithListedIds
        const Backing backing = readSources(row, &problems);
        const double d = nominalDiameter(row);
        const double pitch = value(row, "p").value_or(NAN);
        const auto depth = [&](const QString &field) {
            const double screwIn = std::ceil((field.endsWith(u'1') ? 1.0 : 1.5) * d);
            return field.startsWith(u't') ? screwIn : std::ceil(screwIn + 2 * pitch);
        };
        const struct
        {
            const char *id;
            QStringList fields;
            std::function<std::optional<double>(const QString &)> expected;
        } marks[] = {
            { "RULE-TN", { "t1", "t2", "n1", "n2" }, depth },
            { "RULE-DP", { "de" }, [&](const QString &) { return d - pitch; } },
            { "BOLT", { "sa", "ea" },
                [&](const QString &f) { return value(row, f == u"sa" ? "s" : "e"); } },
            { "DEF", { "m", "df" }, [&](const QString &) { return d; } },
        };
        for (auto it = backing.begin(); it != backing.end(); ++it) {
            for (const auto &mark : marks) {
                if (!it.value().contains(QLatin1String(mark.id)))
                    continue;
                const QString where = row[0] + u' ' + it.key() + u' ' + QLatin1String(mark.id);
                QVERIFY2(mark.fields.contains(it.key()),
                    qPrintable(where + QLatin1String(" is not for this field")));
                if (it.key() == u"m")
                    continue; // the name itself
                const auto actual = value(row, qPrintable(it.key()));
                const auto expected = mark.expected(it.key());
                QVERIFY2(actual && expected && std::abs(*actual - *expected) < 1e-9,
                    qPrintable(QStringLiteral("%1 = %2, expected %3")
                                   .arg(where)
                                   .arg(actual.value_or(NAN))
                                   .arg(expected.value_or(NAN))));
            }
        }
    }

    void readme_endsWithTheCountsOfTheSourcesColumn()
    {
        const QString text = readme();
        const qsizetype at = text.indexOf(QLatin1String("\n## Confirmation counts\n"));
        QVERIFY2(at >= 0, "data/README.md has no section \"Confirmation counts\"");
        if (qEnvironmentVariableIsSet("VORLANE_WRITE_DATA_COUNTS")) {
            // Read back below: a short write cannot pass unseen.
            QSaveFile file(readmePath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray updated = (text.left(at + 1) + countsSection()).toUtf8();
            if (file.write(updated) != updated.size()) {
                file.cancelWriting();
                QFAIL(qPrintable(file.errorString()));
            }
            QVERIFY(file.commit());
        }
        QCOMPARE(readme().mid(at + 1), countsSection());
    }

private:
    static void rows_data()
    {
        QTest::addColumn<QStringList>("row");
        for (const QStringList &row : data().rows)
            QTest::newRow(qPrintable(row.value(0))) << row;
    }
};

QTEST_GUILESS_MAIN(TestJisData)
#include "tst_jisdata.moc"
