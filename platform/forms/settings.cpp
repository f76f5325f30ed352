#include "forms/settings.h"

#include "forms/logging.h"
#include "forms/runtime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>
#include <vector>

namespace forms {

namespace {

struct Entry
{
    QString key;
    QString value;
};
struct Section
{
    QString name;
    std::vector<Entry> entries;
};
using Store = std::vector<Section>;

// A value is written as it stands, but for the characters that would end or
// break the line, which are escaped.
QString escape(const QString &s)
{
    QString out;
    for (QChar c : s) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescape(QStringView s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != u'\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size())
            return std::nullopt;
        if (s[i] == u'\\')
            out += u'\\';
        else if (s[i] == u'n')
            out += u'\n';
        else if (s[i] == u'r')
            out += u'\r';
        else
            return std::nullopt;
    }
    return out;
}

// nullopt: the file is there but is no store of ours.
std::optional<Store> parse(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        return std::nullopt; // not UTF-8
    Store store;
    const auto lines = QStringView(text).split(u'\n');
    for (QStringView line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3)
                return std::nullopt;
            store.push_back({ line.mid(1, line.size() - 2).toString(), {} });
            continue;
        }
        const auto eq = line.indexOf(u'=');
        if (eq <= 0 || store.empty())
            return std::nullopt;
        auto value = unescape(line.mid(eq + 1));
        if (!value)
            return std::nullopt;
        store.back().entries.push_back({ line.left(eq).toString(), *value });
    }
    return store;
}

QByteArray serialize(const Store &store)
{
    QString out;
    for (const auto &section : store) {
        if (!out.isEmpty())
            out += u'\n';
        out += u'[' + section.name + QLatin1String("]\n");
        for (const auto &e : section.entries)
            out += e.key + u'=' + escape(e.value) + u'\n';
    }
    return out.toUtf8();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A name must survive the file's syntax.
bool validName(const QString &name, bool isKey)
{
    if (name.isEmpty() || name.contains(u'\n') || name.contains(u'\r'))
        return false;
    if (name.trimmed() != name)
        return false;
    if (isKey)
        return !name.contains(u'=') && !name.startsWith(u'[') && !name.startsWith(u';')
            && !name.startsWith(u'#');
    return !name.contains(u']');
}

} // namespace

QString settingsFilePath(const QString &application)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(application + QLatin1String("/settings.ini"));
}

QString GetSetting(const QString &application, const QString &section, const QString &key,
    const QString &defaultValue)
{
    QFile file(settingsFilePath(application));
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    const auto store = parse(file.readAll());
    if (!store)
        return defaultValue;
    for (const auto &s : *store)
        if (sameName(s.name, section))
            for (const auto &e : s.entries)
                if (sameName(e.key, key))
                    return e.value;
    return defaultValue;
}

void SaveSetting(
    const QString &application, const QString &section, const QString &key, const QString &value)
{
    if (!validName(application, false) || application.contains(u'/') || !validName(section, false)
        || !validName(key, true))
        throw RuntimeError::invalidProcedureCall();

    const QString path = settingsFilePath(application);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw RuntimeError(75, QStringLiteral("パス/ファイル アクセス エラーです。"));

    Store store;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = existing.readAll();
        existing.close();
        if (auto parsed = parse(bytes)) {
            store = std::move(*parsed);
        } else {
            // Keep what we could not read for the user to look at.
            qCWarning(lcForms).noquote() << "cannot parse" << path << "- kept as .bad";
            QFile::remove(path + QLatin1String(".bad"));
            if (!QFile::copy(path, path + QLatin1String(".bad")))
                throw RuntimeError(75, QStringLiteral("パス/ファイル アクセス エラーです。"));
        }
    }

    Section *target = nullptr;
    for (auto &s : store)
        if (sameName(s.name, section))
            target = &s;
    if (!target) {
        store.push_back({ section, {} });
        target = &store.back();
    }
    Entry *entry = nullptr;
    for (auto &e : target->entries)
        if (sameName(e.key, key))
            entry = &e;
    if (entry)
        entry->value = value;
    else
        target->entries.push_back({ key, value });

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(serialize(store)) < 0 || !out.commit())
        throw RuntimeError(75, QStringLiteral("パス/ファイル アクセス エラーです。"));
}

} // namespace forms
