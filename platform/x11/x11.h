// The X server as Qt's own connection reaches it: atoms, window properties
// and the root window. Every answer is empty (nullptr, 0, XCB_ATOM_NONE, no
// values) when the program does not run on X11.
#pragma once

#include <QString>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace x11 {

// xcb hands its replies over to be freed with free().
struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t *connection();
xcb_window_t root();

xcb_atom_t atom(const char *name);
QString atomName(xcb_atom_t a);

// A property of format 32 (atoms, windows, cardinals); empty when the
// window lacks it or it has another format.
std::vector<std::uint32_t> property32(xcb_window_t w, xcb_atom_t property, xcb_atom_t type);
std::vector<std::uint32_t> property32(xcb_window_t w, const char *property, xcb_atom_t type);

// ICCCM WM_STATE: 0 withdrawn (or no state: not managed), 1 normal, 3 iconic.
std::uint32_t wmState(xcb_window_t w);

} // namespace x11
