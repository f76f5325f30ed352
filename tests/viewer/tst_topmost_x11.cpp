// Always-on-top mode of the main window against a real X server and window
// manager (Xvfb + openbox, brought up by tests/e2e/xsession.sh). The menu
// handlers run in-process, so the mode can also be switched while the
// window is minimised, where no key reaches it.
#include "forms/msgbox.h"
#include "forms/runtime.h"
#include "forms/system.h"
#include "viewer/form1.h"
#include "viewer/formtop.h"
#include "win32/win32.h"
#include "x11window.h"

#include "../support/form1harness.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWindow>

#include <memory>

class TopmostX11Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void onThenOff_setsAndClearsAboveOnSameWindow();
    void on_staysAboveRaisedOrdinaryWindow();
    void offAfterOn_leavesTopGroupButStaysInFront();
    void on_activatesWindow();
    void switchedWhileMinimised_staysMinimisedAndHoldsOnRestore();
    void hiddenWindow_isShownAbove();

private:
    xcb_window_t win() const { return xcb_window_t(m_form->winId()); }
    void runOn()
    {
        forms::dispatch("FormTop_ON_Click", [this] { m_form->FormTop_ON_Click(); });
    }
    void runOff()
    {
        forms::dispatch("FormTop_OFF_Click", [this] { m_form->FormTop_OFF_Click(); });
    }
    // An ordinary window of another kind, shown beside the form.
    std::unique_ptr<QWidget> showOther();
    void raiseOther(QWidget *other);

    testing::Form1Harness m_run;
    viewer::Form1 *m_form = nullptr;
};

void TopmostX11Test::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display with a window manager (run through xsession.sh)");
    // The window manager may still be coming up on a busy machine.
    QTRY_VERIFY2_WITH_TIMEOUT(
        !x11::property32(x11::root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW).empty(),
        "no window manager on the display", 30000);
}

void TopmostX11Test::init()
{
    m_form = m_run.make();
    QVERIFY(m_form);
    // Managed by the window manager: reparented into its frame and listed.
    QTRY_VERIFY_WITH_TIMEOUT(x11::stackingIndex(win()) >= 0, 15000);
    QVERIFY(!x11::isAbove(win()));
}

void TopmostX11Test::cleanup()
{
    m_run.form.reset();
    m_form = nullptr;
}

std::unique_ptr<QWidget> TopmostX11Test::showOther()
{
    auto other = std::make_unique<QLabel>(QStringLiteral("other"));
    other->setWindowTitle(QStringLiteral("other"));
    other->resize(300, 200);
    other->move(100, 100);
    other->show();
    if (!QTest::qWaitForWindowExposed(other.get()))
        return {};
    return other;
}

void TopmostX11Test::raiseOther(QWidget *other)
{
    other->raise();
    other->activateWindow();
    QTRY_VERIFY(other->isActiveWindow());
    QVERIFY(x11::windowManagerCaughtUp(xcb_window_t(other->winId())));
}

void TopmostX11Test::onThenOff_setsAndClearsAboveOnSameWindow()
{
    const WId id = m_form->winId();
    QWindow *handle = m_form->windowHandle();
    const QPoint pos = x11::rootPosition(win());
    const QSize size = m_form->size();

    runOn();
    QTRY_VERIFY(x11::isAbove(win()));
    QVERIFY(x11::windowManagerCaughtUp(win()));
    QCOMPARE(m_form->winId(), id);
    QCOMPARE(m_form->windowHandle(), handle);
    QCOMPARE(x11::rootPosition(win()), pos);
    QCOMPARE(m_form->size(), size);

    runOff();
    QTRY_VERIFY(!x11::isAbove(win()));
    QVERIFY(x11::windowManagerCaughtUp(win()));
    QCOMPARE(m_form->winId(), id);
    QCOMPARE(x11::rootPosition(win()), pos);
    QCOMPARE(m_form->size(), size);
}

void TopmostX11Test::on_staysAboveRaisedOrdinaryWindow()
{
    runOn();
    QTRY_VERIFY(x11::isAbove(win()));
    auto other = showOther();
    QVERIFY(other);
    const auto otherWin = xcb_window_t(other->winId());
    raiseOther(other.get());
    QTRY_VERIFY(x11::stackingIndex(otherWin) >= 0);
    QVERIFY(x11::stackingIndex(win()) > x11::stackingIndex(otherWin));
}

void TopmostX11Test::offAfterOn_leavesTopGroupButStaysInFront()
{
    auto other = showOther();
    QVERIFY(other);
    const auto otherWin = xcb_window_t(other->winId());
    QTRY_VERIFY(x11::stackingIndex(otherWin) >= 0);
    runOn();
    QTRY_VERIFY(x11::isAbove(win()));
    runOff();
    QTRY_VERIFY(!x11::isAbove(win()));
    QVERIFY(x11::windowManagerCaughtUp(win()));
    QVERIFY(x11::stackingIndex(win()) > x11::stackingIndex(otherWin));
    // An ordinary window again: the other one can now go over it.
    raiseOther(other.get());
    QTRY_VERIFY(x11::stackingIndex(otherWin) > x11::stackingIndex(win()));
}

void TopmostX11Test::on_activatesWindow()
{
    auto other = showOther();
    QVERIFY(other);
    raiseOther(other.get());
    QTRY_VERIFY(other->isActiveWindow());
    runOn();
    QTRY_VERIFY(m_form->isActiveWindow());
}

void TopmostX11Test::switchedWhileMinimised_staysMinimisedAndHoldsOnRestore()
{
    auto other = showOther();
    QVERIFY(other);
    const auto otherWin = xcb_window_t(other->winId());
    const WId id = m_form->winId();

    m_form->showMinimized();
    QTRY_VERIFY(x11::isIconic(win()));
    QTRY_VERIFY(m_form->isMinimized());

    runOn();
    QTRY_VERIFY(x11::isAbove(win()));
    QVERIFY(x11::windowManagerCaughtUp(win()));
    QVERIFY(x11::isIconic(win()));
    QVERIFY(m_form->isMinimized());
    QCOMPARE(m_form->winId(), id);

    // Switched off and on again while minimised: still minimised.
    runOff();
    QTRY_VERIFY(!x11::isAbove(win()));
    runOn();
    QTRY_VERIFY(x11::isAbove(win()));
    QVERIFY(x11::windowManagerCaughtUp(win()));
    QVERIFY(x11::isIconic(win()));

    m_form->showNormal();
    QTRY_VERIFY(!x11::isIconic(win()));
    QVERIFY(x11::isAbove(win()));
    raiseOther(other.get());
    QTRY_VERIFY(x11::stackingIndex(otherWin) >= 0);
    QVERIFY(x11::stackingIndex(win()) > x11::stackingIndex(otherWin));
}

void TopmostX11Test::hiddenWindow_isShownAbove()
{
    const WId id = m_form->winId();
    m_form->hide();
    QTRY_VERIFY(x11::stackingIndex(win()) < 0);
    QCOMPARE(viewer::SetFormTop(*m_form, 1), 1);
    QVERIFY(m_form->isVisible());
    QTRY_VERIFY(x11::stackingIndex(win()) >= 0);
    QTRY_VERIFY(x11::isAbove(win()));
    // The same native window, and the widget still knows its handle.
    QCOMPARE(m_form->winId(), id);
    QCOMPARE(m_form->windowHandle()->winId(), id);
}

QTEST_MAIN(TopmostX11Test)
#include "tst_topmost_x11.moc"
