// Single-precision numbers to text and back: what CStr writes CSng reads
// back exactly; a text that is no number is a type mismatch (13), one beyond
// the single range an overflow (6).
#include "forms/convert.h"
#include "forms/runtime.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace forms;

class TstConvert : public QObject
{
    Q_OBJECT

private slots:
    void cstr_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("whole") << 1500.0f << "1500";
        QTest::newRow("negative whole") << -45.0f << "-45";
        QTest::newRow("ten thousands") << 30000.0f << "30000";
        QTest::newRow("round hundred thousand") << 100000.0f << "100000";
        QTest::newRow("negative round million") << -2000000.0f << "-2000000";
        QTest::newRow("largest exact integer") << 16777216.0f << "16777216";
        QTest::newRow("fraction") << 1234.5f << "1234.5";
        QTest::newRow("negative fraction") << -0.25f << "-0.25";
        QTest::newRow("tenth") << 0.1f << "0.1";
    }
    void cstr()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(CStr(value), text);
    }

    void roundTrip_data()
    {
        QTest::addColumn<float>("value");
        const float values[] = { 0.1f, -0.1f, 1234.5f, -7.125f, 1.0f / 3.0f, 2.0f / 3.0f, 1e-7f,
            123456.79f, 1e10f, -1e20f, 3.3e38f, 1e-30f, std::numeric_limits<float>::max(),
            std::numeric_limits<float>::lowest(), std::numeric_limits<float>::min(),
            std::numeric_limits<float>::denorm_min(), std::nextafter(1500.0f, 2000.0f) };
        for (float v : values)
            QTest::newRow(qPrintable(CStr(v))) << v;
    }
    void roundTrip()
    {
        QFETCH(float, value);
        const QString text = CStr(value);
        QCOMPARE(CSng(text), value);
    }

    void csng_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("value");
        QTest::newRow("whole") << "1500" << 1500.0f;
        QTest::newRow("negative") << "-30" << -30.0f;
        QTest::newRow("plus sign") << "+30" << 30.0f;
        QTest::newRow("blanks around") << "  12 " << 12.0f;
        QTest::newRow("leading point") << ".5" << 0.5f;
        QTest::newRow("trailing point") << "5." << 5.0f;
        QTest::newRow("fraction") << "-1234.5" << -1234.5f;
        QTest::newRow("exponent") << "1.5E+3" << 1500.0f;
        QTest::newRow("small exponent") << "15e-1" << 1.5f;
        QTest::newRow("tiny is zero") << "1E-60" << 0.0f;
        QTest::newRow("long zero mantissa") << "0.000e+99999" << 0.0f;
        QTest::newRow("largest single") << "3.4028235E+38" << std::numeric_limits<float>::max();
    }
    void csng()
    {
        QFETCH(QString, text);
        QFETCH(float, value);
        QCOMPARE(CSng(text), value);
    }

    void csng_errors_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("empty") << "" << 13;
        QTest::newRow("blanks") << "   " << 13;
        QTest::newRow("letters") << "abc" << 13;
        QTest::newRow("digits then letters") << "12px" << 13;
        QTest::newRow("comma decimal") << "1,5" << 13;
        QTest::newRow("two signs") << "--1" << 13;
        QTest::newRow("sign only") << "-" << 13;
        QTest::newRow("point only") << "." << 13;
        QTest::newRow("exponent only") << "e5" << 13;
        QTest::newRow("exponent without digits") << "1e" << 13;
        QTest::newRow("hex") << "0x10" << 13;
        QTest::newRow("infinity") << "inf" << 13;
        QTest::newRow("nan") << "nan" << 13;
        QTest::newRow("full-width digits") << "１２" << 13;
        QTest::newRow("beyond single") << "1E+39" << 6;
        QTest::newRow("negative beyond single") << "-3.5e38" << 6;
        QTest::newRow("beyond double") << "1e400" << 6;
        QTest::newRow("long number") << QString(50, u'9') << 6;
    }
    void csng_errors()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        try {
            CSng(text);
            QFAIL("no error raised");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), number);
            QVERIFY(!e.description().isEmpty());
        }
    }
};

QTEST_APPLESS_MAIN(TstConvert)
#include "tst_convert.moc"
