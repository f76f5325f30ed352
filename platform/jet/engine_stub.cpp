#include "jet/engine.h"

namespace jet {

Error::Error(Cause cause, const QString &message, const QString &details)
    : std::runtime_error(message.toStdString()), m_cause(cause), m_message(message),
      m_details(details)
{
}

Table readTable(const QString &databasePath, const QString &, const QStringList &,
                const ReadOptions &)
{
    throw Error(Error::Cause::ReaderFailed,
                QStringLiteral("データベース '%1' を開けません。").arg(databasePath));
}

} // namespace jet
