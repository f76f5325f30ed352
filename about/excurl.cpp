#include "about/excurl.h"

#include "win32/shell.h"

namespace about::ExcURL {

std::int32_t ShellExecuteA(std::int32_t hwnd, const char *lpOperation, const char *lpFile,
    const char *lpParameters, const char *lpDirectory, std::int32_t nShowCmd)
{
    // X window ids fit in 32 bits; the result is a status, not a handle.
    return std::int32_t(win32::ShellExecuteA(win32::HWND(std::uint32_t(hwnd)), lpOperation, lpFile,
        lpParameters, lpDirectory, nShowCmd));
}

std::int32_t GetDesktopWindow()
{
    return std::int32_t(std::uint32_t(win32::GetDesktopWindow()));
}

} // namespace about::ExcURL
