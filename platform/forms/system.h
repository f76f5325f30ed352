// Runtime services around the operating system: the current directory,
// texts for 8-bit interfaces, the error record of declared system
// functions, and the fonts that the design data name.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <utility>

namespace forms {

// The process's working directory as a full path (no drive on this
// platform; "/" at the root), or "." when no full path names it usably:
// the folder was deleted, its name is too long to add a file name to, or
// not valid in the file-name encoding. Never empty, so a name joined to
// it never points at the root.
QString CurDir();

// An 8-bit copy of `text` in the system code page (UTF-8 here). An empty
// text gives an empty, not a null, result.
QByteArray toAnsi(const QString &text);

// The last-error code recorded after the latest declared system call.
std::uint32_t lastDllError();
void recordLastDllError(std::uint32_t code);

// Calls a declared system function and records the system's last error
// right after it, as the runtime does after every declared call.
std::uint32_t systemLastError(); // from the platform layer
template <class F> auto callDeclared(F &&call)
{
    auto result = std::forward<F>(call)();
    recordLastDllError(systemLastError());
    return result;
}

// The Japanese design fonts ("ＭＳ Ｐゴシック" and kin) stand for the IPA
// fonts installed here, inside this program only. fontFamily gives the
// family a design font name stands for (any other name as it is): a control
// is given that family itself, since Qt looks for a family it lacks among
// every font on the system before it tries a substitute, at each size.
QString fontFamily(const QString &designName);
// The same mapping for fonts named elsewhere.
void installFontSubstitutes();

} // namespace forms
