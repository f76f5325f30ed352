// What the X server and the window manager say about a window: its
// _NET_WM_STATE atoms, whether it is iconic, where it lies on the root and
// where among the managed windows it is stacked.
#pragma once

#include <QGuiApplication>
#include <QPoint>
#include <QStringList>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace x11 {

inline xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeDeleter>;

inline xcb_atom_t atom(const char *name)
{
    xcb_connection_t *c = connection();
    Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

inline QString atomName(xcb_atom_t a)
{
    xcb_connection_t *c = connection();
    Reply<xcb_get_atom_name_reply_t> r(
        xcb_get_atom_name_reply(c, xcb_get_atom_name(c, a), nullptr));
    if (!r)
        return {};
    return QString::fromLatin1(
        xcb_get_atom_name_name(r.get()), xcb_get_atom_name_name_length(r.get()));
}

inline std::vector<uint32_t> property32(xcb_window_t w, const char *name, xcb_atom_t type)
{
    xcb_connection_t *c = connection();
    Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, atom(name), type, 0, 4096), nullptr));
    std::vector<uint32_t> out;
    if (!r || r->format != 32)
        return out;
    const auto *v = static_cast<const uint32_t *>(xcb_get_property_value(r.get()));
    out.assign(v, v + xcb_get_property_value_length(r.get()) / 4);
    return out;
}

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

// ICCCM WM_STATE: 3 is IconicState.
inline bool isIconic(xcb_window_t w)
{
    const auto v = property32(w, "WM_STATE", atom("WM_STATE"));
    return !v.empty() && v[0] == 3;
}

inline xcb_window_t root()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
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
