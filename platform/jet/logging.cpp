#include "logging.h"

namespace jet {

Q_LOGGING_CATEGORY(lcJet, "vorlane.jet")

QDebug operator<<(QDebug debug, Error::Cause cause)
{
    using C = Error::Cause;
    const char *name = "Unknown";
    switch (cause) {
    case C::FileNotFound:
        name = "FileNotFound";
        break;
    case C::NotAFile:
        name = "NotAFile";
        break;
    case C::NotAccessDatabase:
        name = "NotAccessDatabase";
        break;
    case C::Damaged:
        name = "Damaged";
        break;
    case C::TableNotFound:
        name = "TableNotFound";
        break;
    case C::FieldNotFound:
        name = "FieldNotFound";
        break;
    case C::TimedOut:
        name = "TimedOut";
        break;
    case C::ReaderFailed:
        name = "ReaderFailed";
        break;
    case C::CannotOpen:
        name = "CannotOpen";
        break;
    }
    QDebugStateSaver saver(debug);
    debug.noquote().nospace() << name;
    return debug;
}

} // namespace jet
