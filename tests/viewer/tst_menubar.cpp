// The menu tree of the main window, its shortcut keys, and File > Quit.
#include "../support/form1harness.h"
#include "controls/commandbutton.h"
#include "forms/settings.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

class MenuBarTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_fx.form.reset(); }

    void tree_hasEightItemsInOrder();
    void items_haveAccessKeysAndShortcuts_data();
    void items_haveAccessKeysAndShortcuts();
    void atStart_allEnabledVisibleNoneChecked();
    void onOff_showCheckMarkOnlyWhenChecked();
    void altKeys_openTheirMenus_data();
    void altKeys_openTheirMenus();
    void functionKeys_actWhileHiddenCancelButtonHoldsFocus();
    void functionKeys_actWhicheverControlHoldsFocus();
    void quit_endsAtOnceWithoutUnloadOrSavingPosition();
    void closeBox_unloadsAndSavesPosition();

private:
    static QAction *find(viewer::Form1 *form, const QString &name);
    bool activate()
    {
        m_fx.form->activateWindow();
        return QTest::qWaitForWindowActive(m_fx.form.get());
    }

    testing::Form1Harness m_fx;
};

// A menu is reached by its QMenu's name, a command by its action's name;
// either way the action is what the menu shows.
QAction *MenuBarTest::find(viewer::Form1 *form, const QString &name)
{
    if (auto *menu = form->findChild<QMenu *>(name))
        return menu->menuAction();
    return form->findChild<QAction *>(name);
}

void MenuBarTest::tree_hasEightItemsInOrder()
{
    auto *form = m_fx.make();
    QVERIFY(form);
    QVERIFY(form->menuBar);

    // Each item as name, caption; the tree by indentation.
    struct Item
    {
        QString name;
        QString caption;
        QList<Item> children;
    };
    const QList<Item> tree = {
        { "File", QString::fromUtf16(u"\uFF8C\uFF67\uFF72\uFF99(&F)"), { { "Quit", "終了", {} } } },
        { "View", "表示(&V)",
            { { "FrontTop", "常に手前表示",
                { { "FormTop_ON", "ON", {} }, { "FormTop_OFF", "OFF", {} } } } } },
        { "Help", QString::fromUtf16(u"\uFF8D\uFF99\uFF8C\uFF9F(&H)"),
            { { "About", "Kantrellについて", {} } } },
    };

    int count = 0;
    std::function<void(const QList<QAction *> &, const QList<Item> &)> check
        = [&](const QList<QAction *> &actions, const QList<Item> &items) {
              QCOMPARE(actions.size(), items.size());
              for (qsizetype i = 0; i < items.size(); ++i) {
                  QAction *a = actions[i];
                  ++count;
                  QVERIFY(!a->isSeparator());
                  QCOMPARE(a, find(form, items[i].name));
                  QCOMPARE(a->text(), items[i].caption);
                  QCOMPARE(a->menu() != nullptr, !items[i].children.isEmpty());
                  if (a->menu())
                      check(a->menu()->actions(), items[i].children);
              }
          };
    check(form->menuBar->actions(), tree);
    QCOMPARE(count, 8);

    // The members the event procedures use are these very items.
    QCOMPARE(form->Quit, find(form, "Quit"));
    QCOMPARE(form->FormTop_ON, find(form, "FormTop_ON"));
    QCOMPARE(form->FormTop_OFF, find(form, "FormTop_OFF"));
    QCOMPARE(form->About, find(form, "About"));
    QCOMPARE(form->View->actions().value(0), form->FrontTop->menuAction());
}

void MenuBarTest::items_haveAccessKeysAndShortcuts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QKeySequence>("mnemonic");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("File") << "File" << QKeySequence(Qt::ALT | Qt::Key_F) << QKeySequence();
    QTest::newRow("Quit") << "Quit" << QKeySequence() << QKeySequence();
    QTest::newRow("View") << "View" << QKeySequence(Qt::ALT | Qt::Key_V) << QKeySequence();
    QTest::newRow("FrontTop") << "FrontTop" << QKeySequence() << QKeySequence();
    QTest::newRow("FormTop_ON") << "FormTop_ON" << QKeySequence() << QKeySequence(Qt::Key_F4);
    QTest::newRow("FormTop_OFF") << "FormTop_OFF" << QKeySequence() << QKeySequence(Qt::Key_F5);
    QTest::newRow("Help") << "Help" << QKeySequence(Qt::ALT | Qt::Key_H) << QKeySequence();
    QTest::newRow("About") << "About" << QKeySequence() << QKeySequence();
}

void MenuBarTest::items_haveAccessKeysAndShortcuts()
{
    QFETCH(QString, name);
    QFETCH(QKeySequence, mnemonic);
    QFETCH(QKeySequence, shortcut);
    auto *form = m_fx.make();
    QVERIFY(form);
    QAction *a = find(form, name);
    QVERIFY(a);
    QCOMPARE(QKeySequence::mnemonic(a->text()), mnemonic);
    QCOMPARE(a->shortcut(), shortcut);
    QCOMPARE(a->shortcuts().size(), shortcut.isEmpty() ? 0 : 1);
}

void MenuBarTest::atStart_allEnabledVisibleNoneChecked()
{
    auto *form = m_fx.make();
    QVERIFY(form);
    for (const char *name :
        { "File", "Quit", "View", "FrontTop", "FormTop_ON", "FormTop_OFF", "Help", "About" }) {
        QAction *a = find(form, name);
        QVERIFY2(a, name);
        QVERIFY2(a->isEnabled(), name);
        QVERIFY2(a->isVisible(), name);
        QVERIFY2(!a->isChecked(), name);
    }
    QCOMPARE(m_fx.panel(2), QString());
}

void MenuBarTest::onOff_showCheckMarkOnlyWhenChecked()
{
    auto *form = m_fx.make();
    QVERIFY(form);
    QMenu *menu = form->FrontTop;
    menu->popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    // Pixels that stand out from the menu's ground in front of a caption,
    // where a check mark goes.
    const auto marked = [menu](QAction *item) {
        const QImage shot = menu->grab().toImage();
        const QRect r = menu->actionGeometry(item);
        const int ground = qGray(shot.pixel(r.left() + 1, r.center().y()));
        int n = 0;
        for (int y = r.top() + 1; y < r.bottom(); ++y)
            for (int x = r.left() + 1; x < r.left() + 18; ++x)
                n += qAbs(qGray(shot.pixel(x, y)) - ground) > 24;
        return n;
    };
    QCOMPARE(marked(form->FormTop_ON), 0);
    QCOMPARE(marked(form->FormTop_OFF), 0);
    form->FormTop_ON->setChecked(true);
    QVERIFY(marked(form->FormTop_ON) > 0);
    QCOMPARE(marked(form->FormTop_OFF), 0);
    menu->hide();
}

void MenuBarTest::altKeys_openTheirMenus_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("menu");
    QTest::newRow("Alt+F") << int(Qt::Key_F) << "File";
    QTest::newRow("Alt+V") << int(Qt::Key_V) << "View";
    QTest::newRow("Alt+H") << int(Qt::Key_H) << "Help";
}

void MenuBarTest::altKeys_openTheirMenus()
{
    QFETCH(int, key);
    QFETCH(QString, menu);
    auto *form = m_fx.make();
    QVERIFY(form);
    QVERIFY(activate());
    auto *m = form->findChild<QMenu *>(menu);
    QVERIFY(m);
    QTest::keyClick(form->Command1, Qt::Key(key), Qt::AltModifier);
    QTRY_VERIFY(m->isVisible());
    // Only the list opens: no command runs.
    QCOMPARE(m_fx.panel(2), QString());
    QCOMPARE(m_fx.ends, 0);
    m->close();
}

void MenuBarTest::functionKeys_actWhileHiddenCancelButtonHoldsFocus()
{
    auto *form = m_fx.make();
    QVERIFY(form);
    QVERIFY(activate());
    QCOMPARE(QApplication::focusWidget(), form->Command1);

    QTest::keyClick(form->Command1, Qt::Key_F4);
    QCOMPARE(m_fx.panel(2), QStringLiteral("FormTop"));
    QVERIFY(form->FormTop_ON->isChecked());
    QVERIFY(!form->FormTop_OFF->isChecked());

    QTest::keyClick(form->Command1, Qt::Key_F5);
    QCOMPARE(m_fx.panel(2), QString());
    QVERIFY(!form->FormTop_ON->isChecked());
    QVERIFY(form->FormTop_OFF->isChecked());

    // The keys neither moved the focus nor clicked the Cancel button.
    QCOMPARE(QApplication::focusWidget(), form->Command1);
    QCOMPARE(m_fx.ends, 0);
}

void MenuBarTest::functionKeys_actWhicheverControlHoldsFocus()
{
    auto *form = m_fx.make();
    QVERIFY(form);
    QVERIFY(activate());
    QTest::keyClick(form->Command1, Qt::Key_Tab);
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && focus != form->Command1);

    QTest::keyClick(focus, Qt::Key_F4);
    QCOMPARE(m_fx.panel(2), QStringLiteral("FormTop"));
    QVERIFY(form->FormTop_ON->isChecked());
    QTest::keyClick(focus, Qt::Key_F5);
    QCOMPARE(m_fx.panel(2), QString());
    QVERIFY(form->FormTop_OFF->isChecked());
}

void MenuBarTest::quit_endsAtOnceWithoutUnloadOrSavingPosition()
{
    const QString store = forms::settingsFilePath(QStringLiteral("Vorlane"));
    QFile::remove(store);
    auto *form = m_fx.make();
    QVERIFY(form);
    form->move(200, 150);
    QTRY_COMPARE(form->pos(), QPoint(200, 150));

    bool unloaded = false;
    connect(form, &forms::Form::unloaded, this, [&] { unloaded = true; });
    form->Quit->trigger();

    QCOMPARE(m_fx.ends, 1);
    QVERIFY(forms::hasEnded());
    QVERIFY(!unloaded);
    QVERIFY(!form->isVisible());
    QVERIFY(!QFile::exists(store));
    QVERIFY(m_fx.boxes.isEmpty());
    // Nothing runs any more once the program has ended.
    form->FormTop_ON->trigger();
    QCOMPARE(m_fx.panel(2), QString());
}

// The contrast: unloading the window writes its position.
void MenuBarTest::closeBox_unloadsAndSavesPosition()
{
    const QString store = forms::settingsFilePath(QStringLiteral("Vorlane"));
    QFile::remove(store);
    auto *form = m_fx.make();
    QVERIFY(form);
    form->move(200, 150);
    QTRY_COMPARE(form->pos(), QPoint(200, 150));
    form->close();
    QCOMPARE(m_fx.ends, 0);
    QVERIFY(QFile::exists(store));
    QCOMPARE(forms::GetSetting("Vorlane", "Form1_StrtUp", "X1"), QStringLiteral("3000"));
    QCOMPARE(forms::GetSetting("Vorlane", "Form1_StrtUp", "Y1"), QStringLiteral("2250"));
}

QTEST_MAIN(MenuBarTest)
#include "tst_menubar.moc"
