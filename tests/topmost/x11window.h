// What the X server and the window manager say about a window: its
// _NET_WM_STATE atoms, whether it is iconic, where it lies on the root and
// where among the managed windows it is stacked. Built on the program's own
// X11 helper.
#pragma once

#include "x11/x11.h"

#include <QPoint>
#include <QStringList>

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

} // namespace x11
