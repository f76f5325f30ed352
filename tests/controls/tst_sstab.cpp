// The tab control: only the current tab's controls can be seen or reached;
// a change of tab by the user sets Tab and then raises Click with the tab
// that was current before.
#include "controls/sstab.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using controls::SSTab;

class TstSSTab : public QObject
{
    Q_OBJECT

private slots:
    void changeTab_showsOnlyItsControls_andRaisesClickWithPreviousTab()
    {
        QWidget top;
        auto *tab = new SSTab(&top);
        tab->setGeometry(0, 0, 557, 353);
        tab->setTabHeight(20);
        tab->setTabs({ "a", "b", "c" });
        QLineEdit *edits[3];
        for (int i = 0; i < 3; ++i) {
            edits[i] = new QLineEdit(tab);
            edits[i]->setGeometry(10, 30, 100, 25);
            tab->addToTab(i, edits[i]);
        }
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        QCOMPARE(tab->Tab(), 0);
        QVERIFY(edits[0]->isVisible());
        QVERIFY(!edits[1]->isVisible() && !edits[2]->isVisible());

        QList<std::pair<int, int>> clicks; // (Tab at the event, PreviousTab)
        connect(tab, &SSTab::Click, this, [&](int previous) {
            clicks << std::pair { tab->Tab(), previous };
        });
        QTabBar *bar = tab->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center()); // no change
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(clicks, (QList<std::pair<int, int>> { { 2, 0 }, { 1, 2 } }));
        QCOMPARE(tab->Tab(), 1);
        QVERIFY(edits[1]->isVisible());
        QVERIFY(!edits[0]->isVisible() && !edits[2]->isVisible());
        // A hidden control cannot be reached by the keyboard.
        QVERIFY(edits[1]->focusPolicy() != Qt::NoFocus);
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(&top, Qt::Key_Tab);
            QVERIFY(top.focusWidget() != edits[0] && top.focusWidget() != edits[2]);
        }
    }

    void tabs_shareOneRowEqually()
    {
        SSTab tab;
        tab.resize(557, 353);
        tab.setTabHeight(20);
        tab.setTabs({ "六角ボルト各部の寸法", "六角ナット各部の寸法", "穴及び座ぐり寸法（参考）" });
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QTabBar *bar = tab.tabBar();
        int total = 0;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(bar->tabRect(i).height(), 20);
            QCOMPARE(bar->tabRect(i).top(), bar->tabRect(0).top());
            QVERIFY(qAbs(bar->tabRect(i).width() - 557 / 3) <= 1);
            total += bar->tabRect(i).width();
        }
        QCOMPARE(total, 557);
    }
};

QTEST_MAIN(TstSSTab)
#include "tst_sstab.moc"
