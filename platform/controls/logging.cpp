#include "controls/logging.h"

namespace controls {

Q_LOGGING_CATEGORY(lcControls, "vorlane.controls")

} // namespace controls
