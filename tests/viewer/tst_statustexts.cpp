// Status panel 1 follows the page on show; panel 2 is never touched by a
// change of page.
#include "../support/form1harness.h"
#include "controls/sstab.h"

#include <QTabBar>

namespace {

// Spelled out by code point, so a look-alike character cannot slip in.
const QString kBolt
    = QString::fromUtf16(u"JIS \uFF2D\u30DC\u30EB\u30C8 M3\uFF5EM130 [JIS B 1180(1988)]");
const QString kNut
    = QString::fromUtf16(u"JIS \uFF2D\u30CA\u30C3\u30C8 M3\uFF5EM130 [JIS B 1181(1988)]");
const QString kHole = QString::fromUtf16(
    u"JIS M3\uFF5EM130 "
    u"\u5EA7\u30B0\u30EA\u53CA\u3073\u7A74\u5BF8\u6CD5\uFF08\u53C2\u8003\u5024\uFF09");

const QString &pageText(int tab)
{
    static const QString texts[] = { kBolt, kNut, kHole };
    return texts[tab];
}

} // namespace

class StatusTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_fx.form.reset(); }

    void texts_haveTheirExactCharacters_data();
    void texts_haveTheirExactCharacters();
    void atStart_boltTextAndEmptyPanel2();
    void tabChanges_showTextOfCurrentTab_data();
    void tabChanges_showTextOfCurrentTab();
    void tabOutsideTheThree_changesNothing();

private:
    void clickTab(int tab)
    {
        QTabBar *bar = m_fx.form->SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }

    testing::Form1Harness m_fx;
};

void StatusTextsTest::texts_haveTheirExactCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("length");
    QTest::newRow("bolt") << viewer::status::boltText << kBolt << 35;
    QTest::newRow("nut") << viewer::status::nutText << kNut << 35;
    QTest::newRow("hole") << viewer::status::holeText << kHole << 25;
    QTest::newRow("FormTop") << viewer::status::formTopText << QStringLiteral("FormTop") << 7;
}

void StatusTextsTest::texts_haveTheirExactCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(int, length);
    QCOMPARE(text, expected);
    QCOMPARE(text.size(), length);
    // No surrogate pairs or combining marks: one character per code unit.
    QCOMPARE(text.toUcs4().size(), length);
}

void StatusTextsTest::atStart_boltTextAndEmptyPanel2()
{
    QVERIFY(m_fx.make());
    QCOMPARE(m_fx.form->SSTab1->Tab(), 0);
    QCOMPARE(m_fx.panel(1), kBolt);
    QCOMPARE(m_fx.panel(2), QString());
}

void StatusTextsTest::tabChanges_showTextOfCurrentTab_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("panel2");
    // Every sequence of three clicks, repeats and clicks on the current tab
    // included, once with panel 2 empty and once showing "FormTop".
    for (const QString &p2 : { QString(), QStringLiteral("FormTop") })
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b)
                for (int c = 0; c < 3; ++c)
                    QTest::addRow("%d-%d-%d%s", a, b, c, p2.isEmpty() ? "" : " FormTop")
                        << QList<int> { a, b, c } << p2;
}

void StatusTextsTest::tabChanges_showTextOfCurrentTab()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QString, panel2);
    QVERIFY(m_fx.make());
    m_fx.form->setPanelText(2, panel2);
    for (int tab : clicks) {
        clickTab(tab);
        QCOMPARE(m_fx.form->SSTab1->Tab(), tab);
        QCOMPARE(m_fx.panel(1), pageText(tab));
        QCOMPARE(m_fx.panel(2), panel2);
    }
    QVERIFY(m_fx.boxes.isEmpty());
    QCOMPARE(m_fx.ends, 0);
}

void StatusTextsTest::tabOutsideTheThree_changesNothing()
{
    QVERIFY(m_fx.make());
    auto *tabs = m_fx.form->SSTab1;
    clickTab(1);
    m_fx.form->setPanelText(2, QStringLiteral("FormTop"));
    // A fourth tab, which the design never has, to reach index 3.
    tabs->setTabs(
        { tabs->TabCaption(0), tabs->TabCaption(1), tabs->TabCaption(2), QStringLiteral("4") });
    m_fx.form->setPanelText(1, kNut);
    clickTab(3);
    QCOMPARE(tabs->Tab(), 3);
    QCOMPARE(m_fx.panel(1), kNut);
    QCOMPARE(m_fx.panel(2), QStringLiteral("FormTop"));
    QCOMPARE(m_fx.ends, 0);
}

QTEST_MAIN(StatusTextsTest)
#include "tst_statustexts.moc"
