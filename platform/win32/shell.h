// Stand-ins for the shell's open and the desktop window, on X11.
#pragma once

#include "win32/win32.h"

#include <cstdint>

namespace win32 {

using HINSTANCE = std::intptr_t;

// Show commands; the opener decides how its window appears.
inline constexpr std::int32_t SW_SHOW = 5;

// Results of ShellExecuteA up to 32 are failures.
inline constexpr HINSTANCE SE_ERR_FNF = 2;
inline constexpr HINSTANCE SE_ERR_PNF = 3;
inline constexpr HINSTANCE SE_ERR_NOASSOC = 31;
inline constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
inline constexpr std::uint32_t ERROR_NO_ASSOCIATION = 1155;

// The desktop (X root) window; a fixed non-zero handle where there is no
// X display.
HWND GetDesktopWindow();

// Opens `file` with the desktop's opener (xdg-open on PATH), started on its
// own so that it outlives nothing of ours. Only the verb "open" (or none,
// which means "open") is known; `parameters` belong to programs, not to
// documents and addresses, and are not passed on. `directory`, when not
// empty, is the opener's working directory. Greater than 32 on success;
// otherwise SE_ERR_FNF for a missing file name, SE_ERR_PNF for a directory
// that is not there, SE_ERR_NOASSOC when nothing can open it, each with
// the reason for GetLastError.
HINSTANCE ShellExecuteA(HWND hwnd, const char *operation, const char *file, const char *parameters,
    const char *directory, std::int32_t showCmd);

} // namespace win32
