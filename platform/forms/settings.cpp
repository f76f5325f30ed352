#include "forms/settings.h"

#include "forms/logging.h"
#include "forms/runtime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace forms {

namespace {

// A store holds two numbers; anything near this size is not one of ours,
// and reading it whole would stall the start.
constexpr qint64 kMaxStoreBytes = 1 << 20;

// How long a save waits for another process's save to finish.
constexpr int kLockWaitMs = 10000;

// Error 75; what failed, and where, goes to the log, for the box names
// neither.
RuntimeError accessError(const char *what, const QByteArray &path, int error)
{
    qCWarning(lcForms).noquote() << "settings store:" << what << QFile::decodeName(path) << "-"
                                 << QString::fromLocal8Bit(std::strerror(error));
    return RuntimeError(75, QStringLiteral("パス/ファイル アクセス エラーです。"));
}

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
std::optional<Store> parse(QByteArray bytes)
{
    // Editors on some systems begin a UTF-8 file with a byte order mark.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
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

// One section per name and one entry per key, the first of each: the
// entry that a read finds is the one that a save changes.
void normalise(Store &store)
{
    Store out;
    for (auto &section : store) {
        Section *into = nullptr;
        for (auto &s : out)
            if (sameName(s.name, section.name))
                into = &s;
        if (!into) {
            out.push_back({ section.name, {} });
            into = &out.back();
        }
        for (auto &e : section.entries) {
            const bool known = std::any_of(into->entries.begin(), into->entries.end(),
                [&e](const Entry &k) { return sameName(k.key, e.key); });
            if (!known)
                into->entries.push_back(std::move(e));
        }
    }
    store = std::move(out);
}

Section *findSection(Store &store, const QString &name)
{
    for (auto &s : store)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

Entry *findEntry(Section &section, const QString &key)
{
    for (auto &e : section.entries)
        if (sameName(e.key, key))
            return &e;
    return nullptr;
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

struct FdCloser
{
    void operator()(const int *fd) const
    {
        ::close(*fd);
        delete fd;
    }
};
using Fd = std::unique_ptr<int, FdCloser>;

// What lies at the store's place.
struct StoreFile
{
    enum Kind {
        Absent,
        Parsed,
        Foreign, // a regular file that is no store of ours, or too large to be one
        NotRegular, // a FIFO, a device, a folder, a socket
        Unreadable,
    } kind
        = Absent;
    Store store;
    mode_t mode = 0;
};

// Opens only a regular file, without blocking (a FIFO without a writer
// would hold open() for ever), and reads at most one byte past the bound
// (a link to /dev/zero never ends).
StoreFile readStore(const QByteArray &path)
{
    StoreFile result;
    struct stat st = {};
    if (::stat(path.constData(), &st) != 0) {
        result.kind = errno == ENOENT ? StoreFile::Absent : StoreFile::Unreadable;
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.kind = StoreFile::NotRegular;
        return result;
    }
    const int raw = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (raw < 0) {
        result.kind = errno == ENOENT ? StoreFile::Absent : StoreFile::Unreadable;
        return result;
    }
    const Fd fd(new int(raw));
    // The name may have been replaced between the look and the open.
    if (::fstat(raw, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.kind = StoreFile::NotRegular;
        return result;
    }
    result.mode = st.st_mode;
    if (st.st_size > kMaxStoreBytes) {
        result.kind = StoreFile::Foreign;
        return result;
    }

    QByteArray bytes(kMaxStoreBytes + 1, Qt::Uninitialized);
    qint64 have = 0;
    while (have < bytes.size()) {
        const ssize_t n = ::read(raw, bytes.data() + have, size_t(bytes.size() - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.kind = StoreFile::Unreadable;
            return result;
        }
        if (n == 0)
            break;
        have += n;
    }
    if (have > kMaxStoreBytes) {
        result.kind = StoreFile::Foreign;
        return result;
    }
    bytes.truncate(have);
    if (auto parsed = parse(bytes)) {
        result.kind = StoreFile::Parsed;
        result.store = std::move(*parsed);
        normalise(result.store);
    } else {
        result.kind = StoreFile::Foreign;
    }
    return result;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The folder part of a local path.
QByteArray folderOf(const QByteArray &path)
{
    const auto slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : path.left(slash);
}

// Where the link at `path` leads: the file itself, or, when it is not there
// yet (a link kept with the user's other dotfiles), the place it would be.
// Empty where neither can be had.
QByteArray linkTarget(const QByteArray &path)
{
    if (char *resolved = ::realpath(path.constData(), nullptr)) {
        QByteArray out(resolved);
        std::free(resolved);
        return out;
    }
    if (errno != ENOENT)
        return {};
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t n = ::readlink(path.constData(), target.data(), size_t(target.size()));
    if (n <= 0 || n >= target.size())
        return {};
    target.truncate(n);
    if (!target.startsWith('/'))
        target = folderOf(path) + '/' + target;
    const auto slash = target.lastIndexOf('/');
    const QByteArray name = target.mid(slash + 1);
    char *folder = ::realpath(folderOf(target).constData(), nullptr);
    if (!folder || name.isEmpty() || name == "." || name == "..") {
        std::free(folder);
        errno = ENOENT;
        return {};
    }
    QByteArray out(folder);
    std::free(folder);
    return out + '/' + name;
}

// Keeps the foreign file at `path` as `path`.bad: a second name for it, or
// a copy where the file system has no second names.
bool keepForeign(const QByteArray &path)
{
    const QByteArray bad = path + ".bad";
    if (::unlink(bad.constData()) != 0 && errno != ENOENT)
        return false;
    if (::link(path.constData(), bad.constData()) == 0)
        return true;
    return QFile::copy(QFile::decodeName(path), QFile::decodeName(bad));
}

// Replaces the file at `path` by `bytes`: written beside it, flushed to the
// disk, then renamed over it. Each step is checked, since a full disk shows
// only as a failed write, fsync or close; on any failure the temporary file
// goes and the old file stays as it was.
void replaceFile(const QByteArray &path, const QByteArray &bytes, mode_t keepMode, bool keepOld)
{
    QByteArray temp;
    int raw = -1;
    for (int attempt = 0; raw < 0 && attempt < 16; ++attempt) {
        temp = path + ".tmp." + QByteArray::number(::getpid()) + '.'
            + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        raw = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST)
            break;
    }
    if (raw < 0)
        throw accessError("cannot create a file beside", path, errno);

    // The old file's permissions, where the file system keeps any.
    if (keepMode != 0)
        ::fchmod(raw, keepMode & 07777);
    const char *failed = nullptr;
    if (!writeAll(raw, bytes) || ::fsync(raw) != 0)
        failed = "cannot write a new";
    int error = errno;
    if (::close(raw) != 0 && !failed) {
        failed = "cannot write a new";
        error = errno;
    }
    if (!failed && keepOld && !keepForeign(path)) {
        failed = "cannot set aside";
        error = errno;
    }
    if (!failed && ::rename(temp.constData(), path.constData()) != 0) {
        failed = "cannot replace";
        error = errno;
    }
    if (failed) {
        ::unlink(temp.constData());
        throw accessError(failed, path, error);
    }
    // The rename itself reaches the disk with its folder.
    const int dir = ::open(folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

QString homeFolder()
{
    const QString home = QFile::decodeName(qgetenv("HOME"));
    if (QDir::isAbsolutePath(home))
        return home;
    // Without a usable HOME, the user's entry in the password database;
    // never the root folder.
    std::vector<char> buf(16384);
    struct passwd pw = {};
    struct passwd *found = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir
        && found->pw_dir[0] == '/')
        return QFile::decodeName(found->pw_dir);
    return {};
}

// The nesting depth of the locks this process holds, by lock file.
std::map<QString, std::pair<int, std::unique_ptr<QLockFile>>> &heldLocks()
{
    static std::map<QString, std::pair<int, std::unique_ptr<QLockFile>>> held;
    return held;
}

} // namespace

QString settingsFilePath(const QString &application)
{
    // The base-directory rules: a relative path in the variable is void.
    QString base = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
    if (QStandardPaths::isTestModeEnabled() || !QDir::isAbsolutePath(base)) {
        const QString home = homeFolder();
        if (home.isEmpty())
            return {};
        base = home
            + QLatin1String(QStandardPaths::isTestModeEnabled() ? "/.qttest/config" : "/.config");
    }
    return QDir(base).filePath(application + QLatin1String("/settings.ini"));
}

SettingsLock::SettingsLock(const QString &application)
    : m_lockPath(settingsFilePath(application) + QLatin1String(".lock"))
{
    if (m_lockPath == QLatin1String(".lock")) // no home folder to keep a store in
        throw accessError("no home folder for", QByteArray("settings.ini"), ENOENT);
    auto &held = heldLocks()[m_lockPath];
    if (held.first++ > 0)
        return;
    auto lock = std::make_unique<QLockFile>(m_lockPath);
    const QByteArray lockName = QFile::encodeName(m_lockPath);
    if (!QDir().mkpath(QFileInfo(m_lockPath).absolutePath())) {
        heldLocks().erase(m_lockPath);
        throw accessError("cannot make the folder of", lockName, errno);
    }
    if (!lock->tryLock(kLockWaitMs)) {
        heldLocks().erase(m_lockPath);
        throw accessError(
            lock->error() == QLockFile::LockFailedError ? "another process holds" : "cannot create",
            lockName, lock->error() == QLockFile::LockFailedError ? EBUSY : EACCES);
    }
    held.second = std::move(lock);
}

SettingsLock::~SettingsLock()
{
    auto it = heldLocks().find(m_lockPath);
    if (it != heldLocks().end() && --it->second.first == 0)
        heldLocks().erase(it); // QLockFile unlocks as it goes
}

QString GetSetting(const QString &application, const QString &section, const QString &key,
    const QString &defaultValue)
{
    StoreFile file = readStore(QFile::encodeName(settingsFilePath(application)));
    if (file.kind != StoreFile::Parsed)
        return defaultValue;
    Section *s = findSection(file.store, section);
    Entry *e = s ? findEntry(*s, key) : nullptr;
    return e ? e->value : defaultValue;
}

void SaveSetting(
    const QString &application, const QString &section, const QString &key, const QString &value)
{
    if (!validName(application, false) || application.contains(u'/') || !validName(section, false)
        || !validName(key, true))
        throw RuntimeError::invalidProcedureCall();

    // Another process's read-modify-write must not come between ours.
    const SettingsLock lock(application);

    // A store reached through a symbolic link is written where the link
    // points, and the link stays.
    QByteArray path = QFile::encodeName(settingsFilePath(application));
    struct stat st = {};
    if (::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        const QByteArray resolved = linkTarget(path);
        if (resolved.isEmpty())
            throw accessError("cannot follow the link", path, errno);
        path = resolved;
    }

    StoreFile file = readStore(path);
    // What is not a regular file, or cannot be read, is left untouched; so
    // is a store its owner made read-only.
    if (file.kind == StoreFile::NotRegular)
        throw accessError("not a regular file:", path, EINVAL);
    if (file.kind == StoreFile::Unreadable)
        throw accessError("cannot read", path, errno);
    if (file.kind != StoreFile::Absent
        && ((file.mode & S_IWUSR) == 0 || ::access(path.constData(), W_OK) != 0))
        throw accessError("read-only:", path, EACCES);

    Section *target = findSection(file.store, section);
    if (!target) {
        file.store.push_back({ section, {} });
        target = &file.store.back();
    }
    if (Entry *entry = findEntry(*target, key))
        entry->value = value;
    else
        target->entries.push_back({ key, value });

    const bool foreign = file.kind == StoreFile::Foreign;
    if (foreign) // kept for the user to look at
        qCWarning(lcForms).noquote()
            << "cannot parse" << QFile::decodeName(path) << "- kept as .bad";
    replaceFile(path, serialize(file.store), file.mode, foreign);
}

} // namespace forms
