// Plain-typo checks on the dimension data set: relations every hexagon bolt,
// nut and hole row must satisfy, and every dimension growing with the size.

#include <QFile>
#include <QTest>

#include <optional>

namespace {

const QStringList expectedHeader { "m", "p", "s", "e", "k", "da", "ds", "ma", "dk", "ea", "sa",
    "k1", "k3", "pa", "z", "df", "dd", "t1", "t2", "de", "n1", "n2", "sources" };

// The data set quotes only its last field; this splits one line after the
// usual rules (commas inside quotes, "" for a quote).
QStringList splitLine(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

struct Data
{
    QStringList header;
    QList<QStringList> rows;
};

Data load()
{
    QFile file(QStringLiteral(VORLANE_SOURCE_DIR "/data/jis-dimensions.csv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot open %s", qPrintable(file.fileName()));
    Data d;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    d.header = splitLine(lines.value(0));
    for (qsizetype i = 1; i < lines.size(); ++i)
        d.rows << splitLine(lines[i]);
    return d;
}

const Data &data()
{
    static const Data d = load();
    return d;
}

std::optional<double> value(const QStringList &row, const char *field)
{
    const QString cell = row.value(data().header.indexOf(QLatin1String(field)));
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

} // namespace

class TestJisData : public QObject
{
    Q_OBJECT

private slots:
    void file_holdsM3ToM130InSizeOrder()
    {
        QCOMPARE(data().header, expectedHeader);
        QCOMPARE(data().rows.size(), 42);
        QCOMPARE(data().rows.first().value(0), QStringLiteral("M3"));
        QCOMPARE(data().rows.last().value(0), QStringLiteral("M130"));
        double last = 0;
        for (const QStringList &row : data().rows) {
            QCOMPARE(row.size(), expectedHeader.size());
            QVERIFY2(row[0].startsWith(u'M') && nominalDiameter(row) > last, qPrintable(row[0]));
            last = nominalDiameter(row);
            for (qsizetype c = 1; c + 1 < row.size(); ++c) {
                bool ok = row[c].isEmpty();
                if (!ok)
                    row[c].toDouble(&ok);
                QVERIFY2(ok, qPrintable(row[0] + u' ' + expectedHeader[c] + u' ' + row[c]));
            }
        }
    }

    void row_keepsTheRelationsOfItsDimensions_data()
    {
        QTest::addColumn<QStringList>("row");
        for (const QStringList &row : data().rows)
            QTest::newRow(qPrintable(row.value(0))) << row;
    }

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
    }

    void column_doesNotDecreaseWithTheSize_data()
    {
        QTest::addColumn<QString>("field");
        for (qsizetype c = 1; c + 1 < expectedHeader.size(); ++c)
            QTest::newRow(qPrintable(expectedHeader[c])) << expectedHeader[c];
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
};

QTEST_GUILESS_MAIN(TestJisData)
#include "tst_jisdata.moc"
