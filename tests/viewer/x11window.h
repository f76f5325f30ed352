// What the X server and the window manager say about a window: its
// _NET_WM_STATE atoms, whether it is iconic, where it lies on the root and
// where among the managed windows it is stacked. Built on the program's own
// X11 helper.
#pragma once

#include "x11/x11.h"

#include <QPoint>
#include <QStringList>
#include <QTest>

namespace x11 {

inline QStringList netWmState(xcb_window_t w)
{
    QStringList names;
    for (uint32_t a : property32(w, "_NET_WM_STATE", XCB_ATOM_ATOM))
        names << atomName(a);
    return names;
}

inline bool isAbove(xcb_window_t w)
{
    return netWmState(w).contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
}

inline bool isIconic(xcb_window_t w)
{
    return wmState(w) == 3; // IconicState
}

// The window's top-left corner on the root window.
inline QPoint rootPosition(xcb_window_t w)
{
    xcb_connection_t *c = connection();
    Reply<xcb_translate_coordinates_reply_t> r(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, w, root(), 0, 0), nullptr));
    return r ? QPoint(r->dst_x, r->dst_y) : QPoint(-1, -1);
}

// Managed windows from bottom to top; -1 if `w` is not among them.
inline int stackingIndex(xcb_window_t w)
{
    const auto list = property32(root(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == w)
            return int(i);
    return -1;
}

// Asks the window manager to add or remove a _NET_WM_STATE atom of `w`.
inline void requestState(xcb_window_t w, const char *name, bool add)
{
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = w;
    event.type = atom("_NET_WM_STATE");
    event.data.data32[0] = add ? 1 : 0;
    event.data.data32[1] = atom(name);
    event.data.data32[3] = 1;
    xcb_send_event(connection(), 0, root(),
        XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
        reinterpret_cast<const char *>(&event));
    xcb_flush(connection());
}

// A round trip through the window manager: it handles requests in order,
// so once it has set and cleared a state that changes nothing on screen
// (no pager runs), it has handled everything asked of it before.
inline bool windowManagerCaughtUp(xcb_window_t w)
{
    const QString probe = QStringLiteral("_NET_WM_STATE_SKIP_PAGER");
    requestState(w, "_NET_WM_STATE_SKIP_PAGER", true);
    if (!QTest::qWaitFor([&] { return netWmState(w).contains(probe); }))
        return false;
    requestState(w, "_NET_WM_STATE_SKIP_PAGER", false);
    return QTest::qWaitFor([&] { return !netWmState(w).contains(probe); });
}

} // namespace x11
