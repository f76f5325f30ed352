// Text forms of field values, as the old runtime shows them.
#include "format.h"

#include <QTest>

#include <cfloat>
#include <climits>

class TestJetFormat : public QObject
{
    Q_OBJECT
private slots:
    void formatDouble_shortestRoundTrip_data();
    void formatDouble_shortestRoundTrip();
    void formatSingle_atMostSevenDigits();
    void formatCurrency_dropsTrailingZeros_data();
    void formatCurrency_dropsTrailingZeros();
    void formatDateTime_runtimeForm_data();
    void formatDateTime_runtimeForm();
    void formatDecimal_appliesScale_data();
    void formatDecimal_appliesScale();
};

void TestJetFormat::formatDouble_shortestRoundTrip_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("integer") << 12.0 << "12";
    QTest::newRow("decimal") << 444.555 << "444.555";
    QTest::newRow("binary fraction") << 0.1 << "0.1";
    QTest::newRow("sum not exact") << 0.1 + 0.2 << "0.3";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("14 digit integer") << 1e14 << "100000000000000";
    QTest::newRow("large") << 1e15 << "1E+15";
    QTest::newRow("large mantissa") << 1.25e20 << "1.25E+20";
    QTest::newRow("small plain") << 0.0001 << "0.0001";
    QTest::newRow("small exp") << 1.5e-7 << "1.5E-07";
    QTest::newRow("max") << DBL_MAX << "1.79769313486232E+308";
}

void TestJetFormat::formatDouble_shortestRoundTrip()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(jetread::formatDouble(value)), text);
}

void TestJetFormat::formatSingle_atMostSevenDigits()
{
    QCOMPARE(QString::fromStdString(jetread::formatSingle(0.1f)), QStringLiteral("0.1"));
    QCOMPARE(QString::fromStdString(jetread::formatSingle(1.0f / 3)), QStringLiteral("0.3333333"));
    QCOMPARE(QString::fromStdString(jetread::formatSingle(3.75f)), QStringLiteral("3.75"));
}

void TestJetFormat::formatCurrency_dropsTrailingZeros_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("whole") << qint64(30000) << "3";
    QTest::newRow("half") << qint64(35000) << "3.5";
    QTest::newRow("four decimals") << qint64(12345) << "1.2345";
    QTest::newRow("small") << qint64(1) << "0.0001";
    QTest::newRow("negative") << qint64(-5000) << "-0.5";
    QTest::newRow("minimum") << qint64(LLONG_MIN) << "-922337203685477.5808";
}

void TestJetFormat::formatCurrency_dropsTrailingZeros()
{
    QFETCH(qint64, units);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(jetread::formatCurrency(units)), text);
}

void TestJetFormat::formatDateTime_runtimeForm_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("text");
    QTest::newRow("date only") << 36525.0 << "1999/12/31";
    QTest::newRow("date and time") << 36525.0 + (13 * 60 + 45) / 1440.0 << "1999/12/31 13:45:00";
    QTest::newRow("time only") << (13 * 60 + 45) / 1440.0 << "13:45:00";
    QTest::newRow("epoch") << 0.0 << "00:00:00";
    QTest::newRow("rounds to next day") << 1.0 - 1e-9 << "1899/12/31";
    QTest::newRow("leap day") << 36585.0 << "2000/02/29";
    // Below zero the fraction still counts forward from midnight.
    QTest::newRow("before 1899") << -1.5 << "1899/12/29 12:00:00";
    QTest::newRow("year 100") << -657434.0 << "0100/01/01";
    QTest::newRow("year 9999") << 2958465.0 << "9999/12/31";
    QTest::newRow("out of range") << 3e6 << "3000000";
}

void TestJetFormat::formatDateTime_runtimeForm()
{
    QFETCH(double, days);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(jetread::formatDateTime(days)), text);
}

void TestJetFormat::formatDecimal_appliesScale_data()
{
    QTest::addColumn<uint>("lo");
    QTest::addColumn<uint>("hi");
    QTest::addColumn<bool>("negative");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << 1234u << 0u << false << 0 << "1234";
    QTest::newRow("scaled") << 12345u << 0u << false << 2 << "123.45";
    QTest::newRow("trailing zero") << 1250u << 0u << false << 3 << "1.25";
    QTest::newRow("leading zeros") << 5u << 0u << true << 3 << "-0.005";
    QTest::newRow("negative zero") << 0u << 0u << true << 2 << "0";
    QTest::newRow("high word") << 0u << 1u << false << 0 << "18446744073709551616";
}

void TestJetFormat::formatDecimal_appliesScale()
{
    QFETCH(uint, lo);
    QFETCH(uint, hi);
    QFETCH(bool, negative);
    QFETCH(int, scale);
    QFETCH(QString, text);
    const std::uint32_t words[4] = { 0, hi, 0, lo };
    QCOMPARE(QString::fromStdString(jetread::formatDecimal(words, negative, scale)), text);
}

QTEST_APPLESS_MAIN(TestJetFormat)
#include "tst_jetformat.moc"
