// Stand-ins for the few system functions the program declares, on X11.
// Each records its failure code for GetLastError, as the originals do.
#pragma once

#include <cstdint>

namespace win32 {

using HWND = std::uintptr_t;
using BOOL = std::int32_t;

std::uint32_t GetLastError();
void SetLastError(std::uint32_t code);

// SetWindowPos: insert-after values and flags.
inline const HWND HWND_TOPMOST = HWND(-1);
inline const HWND HWND_NOTOPMOST = HWND(-2);
inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;

// Places a top-level window of this process: HWND_TOPMOST / HWND_NOTOPMOST
// set or clear its always-on-top state (on X11 the window manager's above
// state, _NET_WM_STATE_ABOVE); other insert-after values are not supported.
// Non-zero on success; 0 on failure, with the reason for GetLastError, also
// where the platform keeps no such state (Wayland, X11 without a window
// manager that offers it).
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, std::int32_t X, std::int32_t Y, std::int32_t cx,
    std::int32_t cy, std::uint32_t uFlags);

// Test seam: how many times SetWindowPos has been called in this process.
int setWindowPosCallCount();

// Error codes used by the stand-ins.
inline constexpr std::uint32_t ERROR_SUCCESS = 0;
inline constexpr std::uint32_t ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr std::uint32_t ERROR_NOT_SUPPORTED = 50;
inline constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::uint32_t ERROR_GEN_FAILURE = 31;

} // namespace win32
