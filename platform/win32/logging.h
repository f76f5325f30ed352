// Diagnostics of the system calls: category "vorlane.win32".
#pragma once

#include <QLoggingCategory>

namespace win32 {

Q_DECLARE_LOGGING_CATEGORY(lcWin32)

} // namespace win32
