#include "win32/logging.h"

namespace win32 {

Q_LOGGING_CATEGORY(lcWin32, "vorlane.win32")

} // namespace win32
