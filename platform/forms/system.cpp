#include "forms/system.h"

#include "win32/win32.h"

#include <QDir>
#include <QFont>

namespace forms {

namespace {
std::uint32_t g_lastDllError = 0;
}

QString CurDir()
{
    return QDir::currentPath();
}

QByteArray toAnsi(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.isNull())
        bytes = QByteArray("", 0);
    return bytes;
}

std::uint32_t lastDllError()
{
    return g_lastDllError;
}

void recordLastDllError(std::uint32_t code)
{
    g_lastDllError = code;
}

std::uint32_t systemLastError()
{
    return win32::GetLastError();
}

void installFontSubstitutes()
{
    const QString proportional = QStringLiteral("IPAPGothic");
    const QString fixed = QStringLiteral("IPAGothic");
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
    QFont::insertSubstitution(QStringLiteral("MS PGothic"), proportional);
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), fixed);
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), fixed);
}

} // namespace forms
