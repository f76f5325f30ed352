// Diagnostics of the Access engine: category "vorlane.jet".
#pragma once

#include "engine.h"

#include <QDebug>
#include <QLoggingCategory>

namespace jet {

Q_DECLARE_LOGGING_CATEGORY(lcJet)

// The cause by its name, for the log.
QDebug operator<<(QDebug debug, Error::Cause cause);

} // namespace jet
