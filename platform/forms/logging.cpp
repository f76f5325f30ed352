#include "forms/logging.h"

namespace forms {

Q_LOGGING_CATEGORY(lcForms, "vorlane.forms")

} // namespace forms
