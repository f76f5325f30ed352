// Diagnostics of the form runtime: category "vorlane.forms".
#pragma once

#include <QLoggingCategory>

namespace forms {

Q_DECLARE_LOGGING_CATEGORY(lcForms)

} // namespace forms
