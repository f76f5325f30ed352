// The main window as designed: caption, fixed client area below the menu
// bar, no maximise, the tab control with its three tabs, the status bar and
// its panels, the hidden Cancel button behind the tab control, the stacking
// order, the tab order and the start focus, the design fonts.
#include "../support/form1harness.h"

#include "controls/commandbutton.h"
#include "controls/datacontrol.h"
#include "controls/picturebox.h"
#include "controls/sstab.h"
#include "controls/statusbar.h"
#include "forms/system.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenuBar>

using testing::Form1Harness;
using viewer::Form1;

class TstForm1Window : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { forms::installFontSubstitutes(); }

    void window_hasFixedClientSizeBelowMenuBar_andNoMaximise()
    {
        Form1Harness run;
        Form1 form;
        run.run(form, [&] {
            QCOMPARE(form.windowTitle(),
                QStringLiteral("Kantrell【六角ボルト・ナット】 JIS B 1180・1181(1988)"));
            QCOMPARE(form.client()->size(), QSize(559, 374));
            QCOMPARE(form.client()->geometry().top(), form.menuBar->geometry().bottom() + 1);
            QCOMPARE(form.size(), QSize(559, 374 + form.menuBar->height()));
            // Fixed size: the frame cannot be dragged to another one.
            QCOMPARE(form.minimumSize(), form.size());
            QCOMPARE(form.maximumSize(), form.size());
            const Qt::WindowFlags flags = form.windowFlags();
            QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
            QVERIFY(flags & Qt::WindowMinimizeButtonHint);
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            QVERIFY(flags & Qt::WindowTitleHint);
            // Layout is kept when asked for another size.
            form.resize(800, 600);
            QCOMPARE(form.client()->size(), QSize(559, 374));
            form.close();
        });
        QVERIFY(!run.fellBack);
    }

    void controls_standWhereDesigned()
    {
        Form1Harness run;
        Form1 form;
        run.run(form, [&] {
            QCOMPARE(form.SSTab1->geometry(), QRect(0, 0, 557, 353));
            QCOMPARE(form.StatusBar1->geometry(), QRect(0, 353, 559, 21));
            QCOMPARE(form.Data1->geometry(), QRect(356, 324, 193, 25));
            QCOMPARE(form.Command1->geometry(), QRect(16, 36, 65, 25));
            for (auto *pic : { form.Picture1, form.Picture2, form.Picture3 }) {
                QCOMPARE(pic->parentWidget(), form.SSTab1);
                QCOMPARE(pic->geometry(), QRect(4, 24, 549, 297));
                QCOMPARE(pic->frameShadow(), QFrame::Sunken);
            }
            QCOMPARE(form.SSTab1->Tabs(), 3);
            QCOMPARE(form.SSTab1->Tab(), 0);
            QCOMPARE(form.SSTab1->TabCaption(0), QStringLiteral("六角ボルト各部の寸法"));
            QCOMPARE(form.SSTab1->TabCaption(1), QStringLiteral("六角ナット各部の寸法"));
            QCOMPARE(form.SSTab1->TabCaption(2), QStringLiteral("穴及び座ぐり寸法（参考）"));
            QTabBar *bar = form.SSTab1->tabBar();
            QCOMPARE(bar->tabRect(0).height(), 20);
            // One row of three equal tabs.
            QCOMPARE(bar->tabRect(0).top(), bar->tabRect(2).top());
            QVERIFY(qAbs(bar->tabRect(0).width() - bar->tabRect(2).width()) <= 1);
            QVERIFY(form.Picture1->isVisible());
            QVERIFY(!form.Picture2->isVisible());
            QVERIFY(!form.Picture3->isVisible());
            QVERIFY(form.Data1->isVisible());

            auto panels = form.StatusBar1->Panels();
            QCOMPARE(panels.Count(), 2);
            QCOMPARE(panels.Item(1).widthPx(), 475);
            QCOMPARE(panels.Item(2).widthPx(), 80);
            QCOMPARE(panels.Item(1).Text(), viewer::status::boltText);
            QCOMPARE(panels.Item(2).Text(), QString());

            QCOMPARE(form.Data1->caption(), QStringLiteral(" 六角ボルト・ナット"));
            form.close();
        });
        QVERIFY(!run.fellBack);
    }

    void cancelButton_liesHiddenBehindTabControl()
    {
        Form1Harness run;
        Form1 form;
        run.run(form, [&] {
            controls::CommandButton *b = form.Command1;
            QCOMPARE(b->text(), QStringLiteral("終　了"));
            QVERIFY(b->isCancel());
            QVERIFY(!b->isDefault());
            QVERIFY(b->isVisible());
            QVERIFY(b->isEnabled());
            QVERIFY(form.SSTab1->geometry().contains(b->geometry()));
            // A click at its place lands on the tab control.
            const QPoint centre = b->geometry().center();
            QWidget *hit = form.client()->childAt(centre);
            QVERIFY(hit && hit != b);
            QVERIFY(hit == form.SSTab1 || form.SSTab1->isAncestorOf(hit));
            form.close();
        });
        QVERIFY(!run.fellBack);
    }

    void stackingOrder_frontToBack()
    {
        Form1Harness run;
        Form1 form;
        run.run(form, [&] {
            // Later children stand in front.
            QList<QWidget *> kids;
            for (QObject *o : form.client()->children())
                if (auto *w = qobject_cast<QWidget *>(o))
                    kids << w;
            const auto at = [&](QWidget *w) { return kids.indexOf(w); };
            QVERIFY(at(form.Command1) >= 0);
            QVERIFY(at(form.Command1) < at(form.SSTab1));
            QVERIFY(at(form.SSTab1) < at(form.Data1));
            QVERIFY(at(form.Data1) < at(form.StatusBar1));
            // The navigation bar is in front of the page where they overlap.
            const QPoint p = form.Data1->geometry().center();
            QWidget *hit = form.client()->childAt(p);
            QVERIFY(hit == form.Data1 || form.Data1->isAncestorOf(hit));
            form.close();
        });
        QVERIFY(!run.fellBack);
    }

    void tabOrder_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("forward"); // from Command1, by Tab
        QTest::newRow("tab 0") << 0 << QStringList { "SSTab1", "Command1" };
        QTest::newRow("tab 1") << 1 << QStringList { "SSTab1", "Command1" };
        QTest::newRow("tab 2") << 2 << QStringList { "SSTab1", "Picture3", "Command1" };
    }
    void tabOrder()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, forward);
        Form1Harness run;
        Form1 form;
        run.run(form, [&] {
            QCOMPARE(QApplication::focusWidget(), form.Command1); // start focus
            const auto name = [&](QWidget *w) -> QString {
                if (!w)
                    return QStringLiteral("(none)");
                if (w == form.SSTab1->tabBar())
                    return QStringLiteral("SSTab1");
                return w->objectName();
            };
            if (tab != 0) {
                QTabBar *bar = form.SSTab1->tabBar();
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
                QCOMPARE(form.SSTab1->Tab(), tab);
                form.Command1->setFocus(Qt::OtherFocusReason);
            }
            QStringList seen;
            for (qsizetype i = 0; i < forward.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                seen << name(QApplication::focusWidget());
            }
            QCOMPARE(seen, forward);
            // Shift+Tab walks the same ring backward.
            QStringList back;
            for (qsizetype i = 0; i < forward.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
                back << name(QApplication::focusWidget());
            }
            QStringList expectedBack;
            for (qsizetype i = forward.size() - 2; i >= 0; --i)
                expectedBack << forward[i];
            expectedBack << QStringLiteral("Command1");
            QCOMPARE(back, expectedBack);
            form.close();
        });
        QVERIFY(!run.fellBack);
    }

    void tabChange_setsPageText_andKeepsOtherPanel()
    {
        Form1Harness run;
        Form1 form;
        run.run(form, [&] {
            QTabBar *bar = form.SSTab1->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
            QVERIFY(form.Picture3->isVisible());
            QVERIFY(!form.Picture1->isVisible());
            QCOMPARE(form.StatusBar1->Panels().Item(1).Text(), viewer::status::holeText);
            QCOMPARE(form.StatusBar1->Panels().Item(2).Text(), QString());
            form.close();
        });
        QVERIFY(!run.fellBack);
    }

    // The title bar's sizes before the window is shown; every rendering of
    // the program icon once it has been painted.
    void windowIcon_smallSizesFirst_allOnceShown()
    {
        Form1Harness run;
        Form1 form;
        const auto sizes = [&form] {
            QList<int> s;
            for (const QSize &size : form.windowIcon().availableSizes())
                s << size.width();
            std::sort(s.begin(), s.end());
            return s;
        };
        QCOMPARE(sizes(), (QList<int> { 32, 64 }));
        run.run(form, [&] {
            QTRY_COMPARE(sizes(), (QList<int> { 32, 64, 128, 256 }));
            form.close();
        });
        QVERIFY(!run.fellBack);
    }

    void designFont_mapsToIpaPGothic_andUiFontShowsJapanese()
    {
        if (!QFontDatabase::families().contains(QStringLiteral("IPAPGothic")))
            QSKIP("fonts-ipafont-gothic is not installed");
        Form1Harness run;
        Form1 form;
        run.run(form, [&] {
            QCOMPARE(QFontInfo(form.Data1->font()).family(), QStringLiteral("IPAPGothic"));
            QCOMPARE(QFontInfo(form.Data1->font()).pointSizeF(), 9.75);
            const QFontMetrics ui(form.SSTab1->tabBar()->font());
            for (QChar c : QStringLiteral("六角ボルト各部の寸法（参考）"))
                QVERIFY2(ui.inFont(c), qPrintable(QString(c)));
            form.close();
        });
        QVERIFY(!run.fellBack);
    }
};

QTEST_MAIN(TstForm1Window)
#include "tst_form1window.moc"
