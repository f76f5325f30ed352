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
    QList<qsizetype> columns; // each field's column in the data set
    for (qsizetype c = 0; c < data.header.size(); ++c) {
        const QString &column = data.header[c];
        if (column == QLatin1String("sources"))
            continue;
        const auto name = design::fieldName(column.toStdString());
        QVERIFY2(name, qPrintable(column));
        fields << QString::fromStdU16String(*name);
        columns << c;
    }
    QCOMPARE(fields.size(), data.header.size() - 1);
    const auto fieldOf = [&](const char *column) {
        const qsizetype at = columns.indexOf(data.header.indexOf(QLatin1String(column)));
        return at < 0 ? QString() : fields.at(at);
    };
    QCOMPARE(fieldOf("m"), QStringLiteral("ｍ"));
    QCOMPARE(fieldOf("k1"), QStringLiteral("ｋ１"));
    const qsizetype size = data.header.indexOf(QLatin1String("m"));

    const jet::Table table = jet::readTable(QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb"),
        QStringLiteral("六角ボルト・ナット"), fields);
    QCOMPARE(table.fields, fields);
    QCOMPARE(int(table.rows.size()), int(data.rows.size()));
    QCOMPARE(data.rows.size(), 42);
    for (qsizetype row = 0; row < data.rows.size(); ++row) {
        const QStringList &cells = data.rows[row];
        const auto &values = table.rows[std::size_t(row)];
        for (int f = 0; f < fields.size(); ++f) {
            const QString &cell = cells[columns[f]];
            const jet::Value &v = values[std::size_t(f)];
            const QString where = QStringLiteral("%1 %2").arg(cells[size], fields[f]);
            if (cell.isEmpty()) {
                QVERIFY2(!v, qPrintable(where));
            } else {
                QVERIFY2(v, qPrintable(where));
                // The plain text of the number, as written in the data set;
                // the size is text.
                const QString expected
                    = columns[f] == size ? cell : QString::number(cell.toDouble(), 'g', 15);
                QCOMPARE(*v, expected);
            }
        }
    }
}

QTEST_GUILESS_MAIN(ShippedDatabaseTest)
#include "tst_shippeddb.moc"
