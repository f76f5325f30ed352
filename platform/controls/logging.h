// Diagnostics of the controls: category "vorlane.controls".
#pragma once

#include <QLoggingCategory>

namespace controls {

Q_DECLARE_LOGGING_CATEGORY(lcControls)

} // namespace controls
