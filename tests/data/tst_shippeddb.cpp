// The shipped database, read through our own engine, holds the data set
// value for value, in the data set's order.
#include "jet/engine.h"

#include <QFile>
#include <QTest>

class ShippedDatabaseTest : public QObject
{
    Q_OBJECT
private slots:
    void everyValue_matchesTheDataSet();
};

void ShippedDatabaseTest::everyValue_matchesTheDataSet()
{
    QFile csv(QStringLiteral(VORLANE_SOURCE_DIR "/data/jis-dimensions.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList header = QString::fromUtf8(csv.readLine()).trimmed().split(u',').mid(0, 22);
    QStringList fields;
    for (const QString &h : header) {
        QString full;
        for (QChar c : h)
            full += QChar(c.isDigit() ? c.unicode() - u'0' + 0xFF10 : c.unicode() + 0xFEE0);
        fields << full;
    }
    QCOMPARE(fields.first(), QStringLiteral("ｍ"));
    QCOMPARE(fields.at(11), QStringLiteral("ｋ１"));

    const jet::Table table = jet::readTable(QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb"),
        QStringLiteral("六角ボルト・ナット"), fields);
    QCOMPARE(table.fields, fields);
    int row = 0;
    while (!csv.atEnd()) {
        const QStringList cells = QString::fromUtf8(csv.readLine()).trimmed().split(u',');
        if (cells.size() < 22)
            continue;
        QVERIFY(row < int(table.rows.size()));
        const auto &values = table.rows[std::size_t(row)];
        for (int f = 0; f < 22; ++f) {
            const QString &cell = cells[f];
            const jet::Value &v = values[std::size_t(f)];
            if (cell.isEmpty()) {
                QVERIFY2(!v, qPrintable(QStringLiteral("%1 %2").arg(cells[0], fields[f])));
            } else {
                QVERIFY2(v, qPrintable(QStringLiteral("%1 %2").arg(cells[0], fields[f])));
                // The plain text of the number, as written in the data set.
                const QString expected = f == 0 ? cell : QString::number(cell.toDouble(), 'g', 15);
                QCOMPARE(*v, expected);
            }
        }
        ++row;
    }
    QCOMPARE(row, int(table.rows.size()));
    QCOMPARE(row, 42);
}

QTEST_GUILESS_MAIN(ShippedDatabaseTest)
#include "tst_shippeddb.moc"
