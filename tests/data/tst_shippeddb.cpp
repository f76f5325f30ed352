// The shipped database, read through our own engine, holds the data set
// value for value, in the data set's order.
#include "design/fieldname.h"
#include "jet/engine.h"

#include "../support/dataset.h"

#include <QTest>

class ShippedDatabaseTest : public QObject
{
    Q_OBJECT
private slots:
    void everyValue_matchesTheDataSet();
};

void ShippedDatabaseTest::everyValue_matchesTheDataSet()
{
    const testing::DataSet data = testing::readDataSet();
    // Every column but the sources is a field, named by the writer's rule.
    QStringList fields;
    for (const QString &column : data.header) {
        if (column == QLatin1String("sources"))
            continue;
        const auto name = design::fieldName(column.toStdString());
        QVERIFY2(name, qPrintable(column));
        fields << QString::fromStdU16String(*name);
    }
    QCOMPARE(fields.size(), 22);
    QCOMPARE(fields.first(), QStringLiteral("ｍ"));
    QCOMPARE(fields.at(11), QStringLiteral("ｋ１"));

    const jet::Table table = jet::readTable(QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb"),
        QStringLiteral("六角ボルト・ナット"), fields);
    QCOMPARE(table.fields, fields);
    QCOMPARE(int(table.rows.size()), int(data.rows.size()));
    QCOMPARE(data.rows.size(), 42);
    for (qsizetype row = 0; row < data.rows.size(); ++row) {
        const QStringList &cells = data.rows[row];
        const auto &values = table.rows[std::size_t(row)];
        for (int f = 0; f < fields.size(); ++f) {
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
    }
}

QTEST_GUILESS_MAIN(ShippedDatabaseTest)
#include "tst_shippeddb.moc"
