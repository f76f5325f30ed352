#include "win32/win32.h"

#include "win32/logging.h"

#include "x11/x11.h"

#include <QGuiApplication>
#include <QWindow>

#include <optional>
#include <vector>

namespace win32 {

namespace {

int g_setWindowPosCalls = 0;

QWindow *windowFor(HWND hWnd)
{
    if (hWnd == 0)
        return nullptr;
    for (QWindow *w : QGuiApplication::allWindows())
        if (w->handle() && HWND(w->winId()) == hWnd)
            return w;
    return nullptr;
}

// The window manager's above state, spoken to directly over Qt's own X
// connection. Qt's WindowStaysOnTopHint is left alone: on X11 Qt re-creates
// the native window at the next show once that hint has changed, and the
// widget then keeps answering the old handle.
class X11Above
{
public:
    X11Above()
        : m_c(x11::connection())
        , m_root(x11::root())
        , m_netWmState(x11::atom("_NET_WM_STATE"))
        , m_above(x11::atom("_NET_WM_STATE_ABOVE"))
    {
    }

    // A running window manager announces the above state; without one (or
    // with one that lacks it) nothing would keep the window on top.
    bool supported() const
    {
        if (!m_c || m_above == XCB_ATOM_NONE)
            return false;
        for (xcb_atom_t a : x11::property32(m_root, "_NET_SUPPORTED", XCB_ATOM_ATOM))
            if (a == m_above)
                return true;
        return false;
    }

    bool set(xcb_window_t w, bool above) const
    {
        if (x11::wmState(w) == 0) {
            // Not mapped yet: the window manager reads the state when it
            // takes the window on, and Qt keeps what it finds when it maps.
            std::vector<xcb_atom_t> state = x11::property32(w, m_netWmState, XCB_ATOM_ATOM);
            std::erase(state, m_above);
            if (above)
                state.push_back(m_above);
            if (x11::Reply<xcb_generic_error_t> e { xcb_request_check(m_c,
                    xcb_change_property_checked(m_c, XCB_PROP_MODE_REPLACE, w, m_netWmState,
                        XCB_ATOM_ATOM, 32, uint32_t(state.size()), state.data())) })
                return false;
        }
        // Also when not yet managed, in case the window manager takes the
        // window on in between; it ignores this for a window it has not.
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = m_netWmState;
        event.data.data32[0] = above ? 1 : 0; // _NET_WM_STATE_ADD / _REMOVE
        event.data.data32[1] = m_above;
        event.data.data32[3] = 1; // from an application
        const x11::Reply<xcb_generic_error_t> e { xcb_request_check(m_c,
            xcb_send_event_checked(m_c, 0, m_root,
                XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                reinterpret_cast<const char *>(&event))) };
        return !e;
    }

private:
    xcb_connection_t *m_c;
    xcb_window_t m_root;
    xcb_atom_t m_netWmState;
    xcb_atom_t m_above;
};

bool isX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The offscreen and minimal platforms have no window manager and no
// stacking to get wrong; Qt's hint is all there is.
bool isWithoutWindowManager()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, std::int32_t X, std::int32_t Y, std::int32_t cx,
    std::int32_t cy, std::uint32_t uFlags)
{
    ++g_setWindowPosCalls;
    QWindow *window = windowFor(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    // Only the topmost group is modelled; any other place in the stacking
    // order is refused rather than ignored.
    if (hWndInsertAfter != HWND_TOPMOST && hWndInsertAfter != HWND_NOTOPMOST) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    const bool above = hWndInsertAfter == HWND_TOPMOST;

    std::optional<X11Above> x11;
    if (isX11()) {
        x11.emplace();
        if (!x11->supported()) {
            qCWarning(lcWin32, "SetWindowPos: the window manager offers no above state");
            SetLastError(ERROR_NOT_SUPPORTED);
            return 0;
        }
        if (!x11->set(xcb_window_t(window->winId()), above)) {
            qCWarning(lcWin32, "SetWindowPos: the X server refused the above state");
            SetLastError(ERROR_GEN_FAILURE);
            return 0;
        }
    } else if (isWithoutWindowManager()) {
        Qt::WindowFlags flags = window->flags();
        flags.setFlag(Qt::WindowStaysOnTopHint, above);
        if (flags != window->flags())
            window->setFlags(flags);
    } else {
        // Wayland and the like keep no above state a client may set.
        qCWarning(lcWin32, "SetWindowPos: no above state on platform %s",
            qUtf8Printable(QGuiApplication::platformName()));
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }

    if (!(uFlags & SWP_NOMOVE))
        window->setFramePosition(QPoint(X, Y));
    if (!(uFlags & SWP_NOSIZE)) {
        // The size given is the outer one, frame included.
        const QMargins frame = window->frameMargins();
        window->resize(
            qMax(1, cx - frame.left() - frame.right()), qMax(1, cy - frame.top() - frame.bottom()));
    }
    if ((uFlags & SWP_SHOWWINDOW) && !window->isVisible())
        window->setVisible(true);
    // Activating a minimised window would restore it on X11; it stays
    // minimised, as the call neither moves, sizes nor restores it.
    const bool minimised = (window->windowStates() & Qt::WindowMinimized)
        || (x11 && x11::wmState(xcb_window_t(window->winId())) == 3); // IconicState
    if (!(uFlags & SWP_NOACTIVATE) && window->isVisible() && !minimised)
        window->requestActivate();
    SetLastError(ERROR_SUCCESS);
    return 1;
}

int setWindowPosCallCount()
{
    return g_setWindowPosCalls;
}

} // namespace win32
