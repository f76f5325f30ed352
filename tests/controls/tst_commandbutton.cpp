// The runtime's keys on command buttons: Esc clicks the window's Cancel
// button whichever control has the focus, also when the button lies hidden
// behind another control; Enter and Space click the focused button only.
#include "controls/commandbutton.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using controls::CommandButton;

class TstCommandButton : public QObject
{
    Q_OBJECT

    struct Window
    {
        QWidget top;
        CommandButton *cancel;
        CommandButton *other;
        QLineEdit *edit;
        QWidget *cover;
        Window()
        {
            top.resize(300, 200);
            cancel = new CommandButton(&top);
            cancel->setGeometry(10, 10, 60, 25);
            cancel->setCancel(true);
            other = new CommandButton(&top);
            other->setGeometry(10, 50, 60, 25);
            edit = new QLineEdit(&top);
            edit->setGeometry(10, 90, 100, 25);
            // Covers the Cancel button completely, as the tab control does.
            cover = new QWidget(&top);
            cover->setGeometry(0, 0, 200, 45);
            cover->setAutoFillBackground(true);
            cover->raise();
            top.show();
        }
    };

private slots:
    void esc_clicksCancelButton_whereverTheFocusIs_data()
    {
        QTest::addColumn<int>("focus"); // 0 cancel, 1 other button, 2 line edit
        QTest::newRow("on the hidden Cancel button") << 0;
        QTest::newRow("on another button") << 1;
        QTest::newRow("in a line edit") << 2;
    }
    void esc_clicksCancelButton_whereverTheFocusIs()
    {
        QFETCH(int, focus);
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.top));
        QWidget *target = focus == 0 ? static_cast<QWidget *>(w.cancel)
            : focus == 1             ? static_cast<QWidget *>(w.other)
                                     : static_cast<QWidget *>(w.edit);
        target->setFocus();
        QCOMPARE(QApplication::focusWidget(), target);
        QSignalSpy cancelClicks(w.cancel, &QPushButton::clicked);
        QSignalSpy otherClicks(w.other, &QPushButton::clicked);
        QTest::keyClick(target, Qt::Key_Escape);
        QCOMPARE(cancelClicks.size(), 1);
        QCOMPARE(otherClicks.size(), 0);
    }

    void enterAndSpace_clickFocusedButtonOnly_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << 0;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("Space") << int(Qt::Key_Space) << 0;
    }
    void enterAndSpace_clickFocusedButtonOnly()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        const auto mods = Qt::KeyboardModifiers(modifiers);
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.top));
        QSignalSpy cancelClicks(w.cancel, &QPushButton::clicked);
        QSignalSpy otherClicks(w.other, &QPushButton::clicked);

        w.cancel->setFocus(); // hidden behind the cover, still takes the keys
        QTest::keyClick(w.cancel, Qt::Key(key), mods);
        QCOMPARE(cancelClicks.size(), 1);
        QCOMPARE(otherClicks.size(), 0);

        w.edit->setFocus(); // no button focused: nothing is clicked
        QTest::keyClick(w.edit, Qt::Key(key), mods);
        QCOMPARE(cancelClicks.size(), 1);
        QCOMPARE(otherClicks.size(), 0);

        w.other->setFocus();
        QTest::keyClick(w.other, Qt::Key(key), mods);
        QCOMPARE(cancelClicks.size(), 1);
        QCOMPARE(otherClicks.size(), 1);
    }

    void noCancelButton_escDoesNothing()
    {
        Window w;
        w.cancel->setCancel(false);
        QVERIFY(QTest::qWaitForWindowActive(&w.top));
        QSignalSpy cancelClicks(w.cancel, &QPushButton::clicked);
        w.cancel->setFocus();
        QTest::keyClick(w.cancel, Qt::Key_Escape);
        QCOMPARE(cancelClicks.size(), 0);
    }

    void escInOtherWindow_doesNotReachCancelButton()
    {
        Window w;
        QWidget second;
        auto *edit = new QLineEdit(&second);
        second.show();
        second.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&second));
        QSignalSpy cancelClicks(w.cancel, &QPushButton::clicked);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(cancelClicks.size(), 0);
    }
};

QTEST_MAIN(TstCommandButton)
#include "tst_commandbutton.moc"
