// The per-user settings store: text values by application, section and key.
// Each application keeps one file under the XDG config folder:
// $XDG_CONFIG_HOME/<application>/settings.ini. Names compare without
// regard to case, as the runtime's store does; where a file holds a key (or
// a section) twice, the first one counts, for reading and writing alike.
#pragma once

#include <QString>

namespace forms {

// The stored text, or `defaultValue` when the key (or the whole store) is
// absent. A store file that cannot be parsed, is larger than a store can be
// or is no regular file (a FIFO, a device) reads as empty; reading never
// blocks.
QString GetSetting(const QString &application, const QString &section, const QString &key,
    const QString &defaultValue = {});

// Writes the key and has it on disk before returning, atomically: the file
// is replaced whole, never left half-written, and on any failure the old
// file stays as it was. A save leaves one entry per key. A store that could
// not be parsed is kept beside the new one (settings.ini.bad), not
// overwritten unseen. A store that cannot be written, or that is no regular
// file, raises run-time error 75.
void SaveSetting(
    const QString &application, const QString &section, const QString &key, const QString &value);

// Holds the store of `application` against other processes while it lives:
// their saves wait until it is released. Every save holds it for itself;
// hold one across saves that belong together, so that no other process's
// save comes between them. Nests within a process. Raises run-time error 75
// when the store cannot be held.
class SettingsLock
{
public:
    explicit SettingsLock(const QString &application);
    ~SettingsLock();
    SettingsLock(const SettingsLock &) = delete;
    SettingsLock &operator=(const SettingsLock &) = delete;

private:
    QString m_lockPath;
};

// Where the store of `application` lives: under $XDG_CONFIG_HOME when that
// is an absolute path, else under the home folder's .config; the home folder
// is $HOME when that is absolute, else the user's entry in the password
// database. Empty when the user has no home folder at all: nothing is
// stored then.
QString settingsFilePath(const QString &application);

} // namespace forms
