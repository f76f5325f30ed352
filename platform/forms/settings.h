// The per-user settings store: text values by application, section and key.
// Each application keeps one file under the XDG config folder:
// $XDG_CONFIG_HOME/<application>/settings.ini. Names compare without
// regard to case, as the runtime's store does.
#pragma once

#include <QString>

namespace forms {

// The stored text, or `defaultValue` when the key (or the whole store) is
// absent. A store file that cannot be parsed reads as empty.
QString GetSetting(const QString &application, const QString &section, const QString &key,
    const QString &defaultValue = {});

// Writes the key and has it on disk before returning, atomically: the file
// is replaced whole, never left half-written. A store that could not be
// parsed is kept beside the new one (settings.ini.bad), not overwritten
// unseen. A store that cannot be written raises a run-time error.
void SaveSetting(
    const QString &application, const QString &section, const QString &key, const QString &value);

// Where the store of `application` lives.
QString settingsFilePath(const QString &application);

} // namespace forms
