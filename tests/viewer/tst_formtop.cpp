// SetFormTop and the ON / OFF commands: what they leave in the window, the
// check marks and status panel 2. On the offscreen platform the window's
// topmost state is its stays-on-top hint.
#include "../support/form1harness.h"
#include "forms/system.h"
#include "viewer/formtop.h"
#include "win32/win32.h"

#include <QAction>
#include <QWindow>

namespace {

bool isTopmost(QWidget *w)
{
    return w->windowHandle() && w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

constexpr std::uint32_t kUntouched = 0xBEEF;

} // namespace

class FormTopTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_fx.form.reset(); }

    void setFormTop_otherFlag_returnsZeroWithoutCall_data();
    void setFormTop_otherFlag_returnsZeroWithoutCall();
    void setFormTop_zeroOrOne_callsAndKeepsWindow_data();
    void setFormTop_zeroOrOne_callsAndKeepsWindow();
    void setFormTop_hiddenWindow_isShown();
    void atStart_nothingCallsSetFormTop();
    void commands_leaveModeCheckMarksAndPanel_data();
    void commands_leaveModeCheckMarksAndPanel();
    void switchedWhileMinimised_staysMinimised();

private:
    testing::Form1Harness m_fx;
};

void FormTopTest::setFormTop_otherFlag_returnsZeroWithoutCall_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<bool>("topmostBefore");
    QTest::newRow("2") << 2 << false;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("-1 while topmost") << -1 << true;
    QTest::newRow("2 while topmost") << 2 << true;
    QTest::newRow("32767") << 32767 << false;
    QTest::newRow("-32768") << -32768 << false;
}

void FormTopTest::setFormTop_otherFlag_returnsZeroWithoutCall()
{
    QFETCH(int, flag);
    QFETCH(bool, topmostBefore);
    auto *form = m_fx.make(false);
    QVERIFY(form);
    if (topmostBefore) {
        QVERIFY(viewer::SetFormTop(*form, 1) != 0);
        form->hide();
    }
    QCOMPARE(isTopmost(form), topmostBefore);
    forms::recordLastDllError(kUntouched);
    const int calls = win32::setWindowPosCallCount();

    QCOMPARE(viewer::SetFormTop(*form, std::int16_t(flag)), 0);

    QCOMPARE(win32::setWindowPosCallCount(), calls);
    QCOMPARE(forms::lastDllError(), kUntouched);
    QCOMPARE(isTopmost(form), topmostBefore);
    QVERIFY(!form->isVisible());
    // The handle is read first, whatever the flag: the native window exists.
    QVERIFY(form->windowHandle() && form->windowHandle()->handle());
}

void FormTopTest::setFormTop_zeroOrOne_callsAndKeepsWindow_data()
{
    QTest::addColumn<QList<int>>("flags");
    QTest::newRow("1") << QList<int> { 1 };
    QTest::newRow("0") << QList<int> { 0 };
    QTest::newRow("1 1") << QList<int> { 1, 1 };
    QTest::newRow("1 0") << QList<int> { 1, 0 };
    QTest::newRow("0 1") << QList<int> { 0, 1 };
}

void FormTopTest::setFormTop_zeroOrOne_callsAndKeepsWindow()
{
    QFETCH(QList<int>, flags);
    auto *form = m_fx.make();
    QVERIFY(form);
    form->move(120, 80);
    QTRY_COMPARE(form->pos(), QPoint(120, 80));
    const WId id = form->winId();
    QWindow *handle = form->windowHandle();
    const QSize size = form->size();

    for (int flag : flags) {
        forms::recordLastDllError(kUntouched);
        const int calls = win32::setWindowPosCallCount();
        QVERIFY(viewer::SetFormTop(*form, std::int16_t(flag)) != 0);
        QCOMPARE(win32::setWindowPosCallCount(), calls + 1);
        // The last error is recorded after the call.
        QCOMPARE(forms::lastDllError(), win32::ERROR_SUCCESS);
        QCOMPARE(isTopmost(form), flag == 1);
        QCOMPARE(form->winId(), id);
        QCOMPARE(form->windowHandle(), handle);
        QCOMPARE(form->pos(), QPoint(120, 80));
        QCOMPARE(form->size(), size);
        QVERIFY(form->isVisible());
    }
}

void FormTopTest::setFormTop_hiddenWindow_isShown()
{
    auto *form = m_fx.make(false);
    QVERIFY(form);
    QVERIFY(!form->isVisible());
    QVERIFY(viewer::SetFormTop(*form, 1) != 0);
    QVERIFY(form->isVisible());
    QVERIFY(isTopmost(form));
}

void FormTopTest::atStart_nothingCallsSetFormTop()
{
    const int calls = win32::setWindowPosCallCount();
    auto *form = m_fx.make();
    QVERIFY(form);
    QTest::qWait(50);
    QCOMPARE(win32::setWindowPosCallCount(), calls);
    QVERIFY(!isTopmost(form));
    QVERIFY(!form->FormTop_ON->isChecked());
    QVERIFY(!form->FormTop_OFF->isChecked());
    QCOMPARE(m_fx.panel(2), QString());
}

void FormTopTest::commands_leaveModeCheckMarksAndPanel_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<bool>("on");
    QTest::newRow("ON") << QStringList { "ON" } << true;
    QTest::newRow("OFF at start") << QStringList { "OFF" } << false;
    QTest::newRow("ON twice") << QStringList { "ON", "ON" } << true;
    QTest::newRow("OFF twice") << QStringList { "OFF", "OFF" } << false;
    QTest::newRow("ON OFF") << QStringList { "ON", "OFF" } << false;
    QTest::newRow("OFF ON") << QStringList { "OFF", "ON" } << true;
    QTest::newRow("ON OFF ON") << QStringList { "ON", "OFF", "ON" } << true;
}

void FormTopTest::commands_leaveModeCheckMarksAndPanel()
{
    QFETCH(QStringList, commands);
    QFETCH(bool, on);
    auto *form = m_fx.make();
    QVERIFY(form);
    const QString panel1 = m_fx.panel(1);
    const QPoint pos = form->pos();
    const int calls = win32::setWindowPosCallCount();

    for (const QString &c : commands)
        (c == "ON" ? form->FormTop_ON : form->FormTop_OFF)->trigger();

    // Not toggles: every command calls SetWindowPos again.
    QCOMPARE(win32::setWindowPosCallCount(), calls + commands.size());
    QCOMPARE(isTopmost(form), on);
    QCOMPARE(form->FormTop_ON->isChecked(), on);
    QCOMPARE(form->FormTop_OFF->isChecked(), !on);
    QCOMPARE(m_fx.panel(2), on ? QStringLiteral("FormTop") : QString());
    QCOMPARE(m_fx.panel(1), panel1);
    QCOMPARE(form->pos(), pos);
    QCOMPARE(m_fx.ends, 0);
    QVERIFY(m_fx.boxes.isEmpty());
}

void FormTopTest::switchedWhileMinimised_staysMinimised()
{
    auto *form = m_fx.make();
    QVERIFY(form);
    form->showMinimized();
    QTRY_VERIFY(form->isMinimized());

    form->FormTop_ON->trigger();
    QTest::qWait(50);
    QVERIFY(form->isMinimized());
    QVERIFY(isTopmost(form));
    QCOMPARE(m_fx.panel(2), QStringLiteral("FormTop"));

    form->showNormal();
    QTRY_VERIFY(!form->isMinimized());
    QVERIFY(isTopmost(form));
    QVERIFY(form->FormTop_ON->isChecked());
}

QTEST_MAIN(FormTopTest)
#include "tst_formtop.moc"
