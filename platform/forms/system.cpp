#include "forms/system.h"

#include "win32/win32.h"

#include <QFile>
#include <QFont>

#include <climits>
#include <cstring>
#include <unistd.h>

namespace forms {

namespace {
std::uint32_t g_lastDllError = 0;
}

QString CurDir()
{
    // The name is of use only if it names this folder and leaves room for
    // a file name within PATH_MAX. Otherwise ".", which the system resolves
    // from the working directory itself: a deleted folder, a name past
    // PATH_MAX, a name that is not valid in the file-name encoding.
    const QString here = QStringLiteral(".");
    QByteArray name(PATH_MAX - NAME_MAX - 1, '\0');
    if (!::getcwd(name.data(), size_t(name.size())))
        return here;
    name.truncate(qsizetype(std::strlen(name.constData())));
    if (!name.startsWith('/'))
        return here; // "(unreachable)": outside this process's root
    const QString text = QFile::decodeName(name);
    if (QFile::encodeName(text) != name)
        return here;
    return text;
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

namespace {
struct FontSubstitute
{
    const char16_t *design;
    const char16_t *installed;
};
constexpr FontSubstitute kFontSubstitutes[] = {
    { u"ＭＳ Ｐゴシック", u"IPAPGothic" },
    { u"MS PGothic", u"IPAPGothic" },
    { u"ＭＳ ゴシック", u"IPAGothic" },
    { u"MS Gothic", u"IPAGothic" },
};
} // namespace

QString fontFamily(const QString &designName)
{
    for (const FontSubstitute &s : kFontSubstitutes)
        if (designName.compare(QStringView(s.design), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(s.installed);
    return designName;
}

void installFontSubstitutes()
{
    for (const FontSubstitute &s : kFontSubstitutes)
        QFont::insertSubstitution(QString::fromUtf16(s.design), QString::fromUtf16(s.installed));
}

} // namespace forms
