#include "controls/logging.h"

namespace controls {

// Debug messages (the course of a data control's read) only when asked for.
Q_LOGGING_CATEGORY(lcControls, "vorlane.controls", QtInfoMsg)

} // namespace controls
