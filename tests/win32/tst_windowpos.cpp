// The SetWindowPos stand-in on the offscreen platform, which has no window
// manager: the topmost state is the window's stays-on-top hint. The X11
// side is covered by tst_topmost_x11; an X display without a window
// manager by the noWindowManager case, run on its own through xsession.sh --bare.
#include "win32/win32.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

using namespace win32;

class WindowPosTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void noWindowManager_failsWithNotSupported();
    void cleanup() { m_window.reset(); }

    void unknownHandle_failsWithInvalidHandle_data();
    void unknownHandle_failsWithInvalidHandle();
    void otherInsertAfter_failsAndChangesNothing();
    void topmost_setsAndClearsStateKeepingWindow();
    void flags_areHonoured_data();
    void flags_areHonoured();
    void noActivate_leavesActivationAlone();

private:
    HWND hwnd() { return HWND(m_window->winId()); }

    std::unique_ptr<QWidget> m_window;
};

void WindowPosTest::init()
{
    const bool bareX = QGuiApplication::platformName() == QLatin1String("xcb");
    if (bareX
        != (QTest::currentTestFunction() == QByteArray("noWindowManager_failsWithNotSupported")))
        QSKIP(bareX ? "offscreen case" : "needs an X display without a window manager");
    m_window = std::make_unique<QWidget>();
    m_window->setGeometry(100, 100, 300, 200);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

// Nothing would keep the window on top: the call fails and does nothing
// else, the window staying hidden and its hint untouched.
void WindowPosTest::noWindowManager_failsWithNotSupported()
{
    m_window->hide();
    QTest::qWait(100);
    SetLastError(0);
    QCOMPARE(SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, 0x43), 0);
    QCOMPARE(GetLastError(), ERROR_NOT_SUPPORTED);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

void WindowPosTest::unknownHandle_failsWithInvalidHandle_data()
{
    QTest::addColumn<quintptr>("handle");
    QTest::newRow("null") << quintptr(0);
    QTest::newRow("no such window") << quintptr(0x7fff1234);
}

void WindowPosTest::unknownHandle_failsWithInvalidHandle()
{
    QFETCH(quintptr, handle);
    SetLastError(0);
    QCOMPARE(SetWindowPos(HWND(handle), HWND_TOPMOST, 0, 0, 0, 0, 0x43), 0);
    QCOMPARE(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

void WindowPosTest::otherInsertAfter_failsAndChangesNothing()
{
    const QRect geometry = m_window->geometry();
    QCOMPARE(SetWindowPos(hwnd(), HWND(0), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 0);
    QCOMPARE(GetLastError(), ERROR_NOT_SUPPORTED);
    QVERIFY(!m_window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(m_window->geometry(), geometry);
}

void WindowPosTest::topmost_setsAndClearsStateKeepingWindow()
{
    const WId id = m_window->winId();
    QWindow *handle = m_window->windowHandle();
    const QRect geometry = m_window->geometry();
    const std::uint32_t flags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;

    SetLastError(1234);
    QVERIFY(SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, flags) != 0);
    QCOMPARE(GetLastError(), ERROR_SUCCESS);
    QVERIFY(handle->flags().testFlag(Qt::WindowStaysOnTopHint));

    QVERIFY(SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, flags) != 0);
    QVERIFY(!handle->flags().testFlag(Qt::WindowStaysOnTopHint));

    QCOMPARE(m_window->winId(), id);
    QCOMPARE(m_window->windowHandle(), handle);
    QCOMPARE(m_window->geometry(), geometry);
}

void WindowPosTest::flags_areHonoured_data()
{
    QTest::addColumn<uint>("flags");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<bool>("sizes");
    // The zeros of the call are ignored only where the flags say so.
    QTest::newRow("keep both") << uint(SWP_NOMOVE | SWP_NOSIZE) << false << false;
    QTest::newRow("move") << uint(SWP_NOSIZE) << true << false;
    QTest::newRow("size") << uint(SWP_NOMOVE) << false << true;
}

void WindowPosTest::flags_areHonoured()
{
    QFETCH(uint, flags);
    QFETCH(bool, moves);
    QFETCH(bool, sizes);
    const QRect frame = m_window->frameGeometry();
    QVERIFY(SetWindowPos(hwnd(), HWND_TOPMOST, 40, 30, 250, 150, flags) != 0);
    // Position and size are the outer ones, frame included.
    QTRY_COMPARE(m_window->frameGeometry().topLeft(), moves ? QPoint(40, 30) : frame.topLeft());
    QTRY_COMPARE(m_window->frameGeometry().size(), sizes ? QSize(250, 150) : frame.size());
}

void WindowPosTest::noActivate_leavesActivationAlone()
{
    QWidget other;
    other.setGeometry(500, 100, 100, 100);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    QVERIFY(SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE)
        != 0);
    QTest::qWait(50);
    QVERIFY(other.isActiveWindow());

    QVERIFY(SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != 0);
    QTRY_VERIFY(m_window->isActiveWindow());
}

QTEST_MAIN(WindowPosTest)
#include "tst_windowpos.moc"
