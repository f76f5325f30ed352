// The status bar's panels: numbered from 1, each shows exactly the text last
// set and leaves the other alone; another number is a run-time error.
#include "controls/statusbar.h"
#include "forms/runtime.h"

#include <QTest>

using controls::StatusBar;

class TstStatusBar : public QObject
{
    Q_OBJECT

private slots:
    void setText_replacesOnlyThatPanel()
    {
        StatusBar bar;
        bar.addPanel(475);
        bar.addPanel(80, Qt::AlignHCenter);
        QCOMPARE(bar.Panels().Count(), 2);
        QCOMPARE(bar.Panels().Item(1).Text(), QString());
        QCOMPARE(bar.Panels().Item(2).Text(), QString());
        bar.Panels().Item(1).setText("JIS");
        bar.Panels().Item(2).setText("FormTop");
        bar.Panels().Item(1).setText("JIS B 1181");
        QCOMPARE(bar.Panels().Item(1).Text(), QStringLiteral("JIS B 1181"));
        QCOMPARE(bar.Panels().Item(2).Text(), QStringLiteral("FormTop"));
        bar.Panels().Item(2).setText("");
        QCOMPARE(bar.Panels().Item(2).Text(), QString());
        QCOMPARE(bar.Panels().Item(2).widthPx(), 80);
    }

    void item_outOfRange_raisesRuntimeError_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("0") << 0;
        QTest::newRow("3") << 3;
        QTest::newRow("-1") << -1;
    }
    void item_outOfRange_raisesRuntimeError()
    {
        QFETCH(int, index);
        StatusBar bar;
        bar.addPanel(475);
        bar.addPanel(80);
        try {
            bar.Panels().Item(qint16(index));
            QFAIL("no error");
        } catch (const forms::RuntimeError &e) {
            QCOMPARE(e.number(), 35600);
        }
    }
};

QTEST_MAIN(TstStatusBar)
#include "tst_statusbar.moc"
