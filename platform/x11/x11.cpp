#include "x11/x11.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <cstring>

namespace x11 {

xcb_connection_t *connection()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *app = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return app ? app->connection() : nullptr;
}

xcb_window_t root()
{
    xcb_connection_t *c = connection();
    if (!c)
        return 0;
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem > 0 && it.data ? it.data->root : 0;
}

xcb_atom_t atom(const char *name)
{
    xcb_connection_t *c = connection();
    if (!c)
        return XCB_ATOM_NONE;
    Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QString atomName(xcb_atom_t a)
{
    xcb_connection_t *c = connection();
    if (!c)
        return {};
    Reply<xcb_get_atom_name_reply_t> r(
        xcb_get_atom_name_reply(c, xcb_get_atom_name(c, a), nullptr));
    if (!r)
        return {};
    return QString::fromLatin1(
        xcb_get_atom_name_name(r.get()), xcb_get_atom_name_name_length(r.get()));
}

std::vector<std::uint32_t> property32(xcb_window_t w, xcb_atom_t property, xcb_atom_t type)
{
    xcb_connection_t *c = connection();
    if (!c || property == XCB_ATOM_NONE)
        return {};
    Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 4096), nullptr));
    if (!r || r->format != 32)
        return {};
    const auto *v = static_cast<const std::uint32_t *>(xcb_get_property_value(r.get()));
    return { v, v + xcb_get_property_value_length(r.get()) / 4 };
}

std::vector<std::uint32_t> property32(xcb_window_t w, const char *property, xcb_atom_t type)
{
    return property32(w, atom(property), type);
}

std::uint32_t wmState(xcb_window_t w)
{
    const xcb_atom_t state = atom("WM_STATE");
    const auto v = property32(w, state, state);
    return v.empty() ? 0 : v[0];
}

} // namespace x11
