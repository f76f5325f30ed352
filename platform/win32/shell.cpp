#include "win32/shell.h"

#include "win32/logging.h"

#include "x11/x11.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstring>

namespace win32 {

namespace {
// What the root window stands for when there is no X display (offscreen).
constexpr HWND kNoDisplayDesktop = 0x10010;

// What a successful open returns: any value above 32 will do.
constexpr HINSTANCE kOpened = 42;
} // namespace

HWND GetDesktopWindow()
{
    if (const xcb_window_t root = x11::root())
        return HWND(root);
    return kNoDisplayDesktop;
}

HINSTANCE ShellExecuteA(HWND hwnd, const char *operation, const char *file, const char *parameters,
    const char *directory, std::int32_t showCmd)
{
    Q_UNUSED(hwnd);
    Q_UNUSED(parameters);
    Q_UNUSED(showCmd);
    if (operation && *operation && std::strcmp(operation, "open") != 0) {
        SetLastError(ERROR_NO_ASSOCIATION);
        return SE_ERR_NOASSOC;
    }
    if (!file || !*file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return SE_ERR_FNF;
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        qCWarning(lcWin32, "ShellExecuteA: xdg-open is not installed");
        SetLastError(ERROR_NO_ASSOCIATION);
        return SE_ERR_NOASSOC;
    }
    // Handed over as one argument, never through a shell.
    const QString target = QString::fromUtf8(file);
    const QString workDir = directory ? QString::fromUtf8(directory) : QString();
    if (!workDir.isEmpty() && !QFileInfo(workDir).isDir()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return SE_ERR_PNF;
    }
    if (!QProcess::startDetached(opener, { target }, workDir)) {
        qCWarning(lcWin32).noquote() << "ShellExecuteA: cannot start" << opener;
        SetLastError(ERROR_NO_ASSOCIATION);
        return SE_ERR_NOASSOC;
    }
    SetLastError(ERROR_SUCCESS);
    return kOpened;
}

} // namespace win32
