#include "win32/win32.h"

#include <QGuiApplication>
#include <QWindow>

namespace win32 {

namespace {
QWindow *windowFor(HWND hWnd)
{
    for (QWindow *w : QGuiApplication::allWindows())
        if (w->handle() && HWND(w->winId()) == hWnd)
            return w;
    return nullptr;
}
} // namespace

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, std::int32_t X, std::int32_t Y, std::int32_t cx,
                  std::int32_t cy, std::uint32_t uFlags)
{
    QWindow *window = windowFor(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST) {
        // Changing the flags on the QWindow keeps the native window.
        Qt::WindowFlags flags = window->flags();
        flags.setFlag(Qt::WindowStaysOnTopHint, hWndInsertAfter == HWND_TOPMOST);
        window->setFlags(flags);
    }
    if (!(uFlags & SWP_NOMOVE))
        window->setFramePosition(QPoint(X, Y));
    if (!(uFlags & SWP_NOSIZE))
        window->resize(cx, cy);
    if (uFlags & SWP_SHOWWINDOW)
        window->setVisible(true);
    if (!(uFlags & SWP_NOACTIVATE) && !(window->windowStates() & Qt::WindowMinimized))
        window->requestActivate();
    SetLastError(ERROR_SUCCESS);
    return 1;
}

} // namespace win32
