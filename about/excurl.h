// Module ExcURL: the system functions that the web link of the About
// window calls, with the 32-bit types they are declared with.
#pragma once

#include <cstdint>

namespace about::ExcURL {

// shell32: opens `lpFile` with the program registered for it.
std::int32_t ShellExecuteA(std::int32_t hwnd, const char *lpOperation, const char *lpFile,
    const char *lpParameters, const char *lpDirectory, std::int32_t nShowCmd);

// user32: the desktop window, owner of whatever the shell shows.
std::int32_t GetDesktopWindow();

} // namespace about::ExcURL
