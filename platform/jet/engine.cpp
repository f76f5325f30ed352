#include "engine.h"

#include "logging.h"
#include "reader/wire.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unistd.h>

#ifndef VORLANE_JET_LIBEXEC_DIR
#define VORLANE_JET_LIBEXEC_DIR "/usr/libexec/vorlane"
#endif
#ifndef VORLANE_JET_LIBEXEC_RELDIR
#define VORLANE_JET_LIBEXEC_RELDIR "../libexec/vorlane"
#endif

namespace jet {

Error::Error(Cause cause, const QString &message, const QString &details)
    : std::runtime_error(message.toStdString())
    , m_cause(cause)
    , m_message(message)
    , m_details(details)
{
}

namespace {

const QString readerName = QStringLiteral("vorlane-jetread");
constexpr qsizetype maxOutput = qsizetype(256) << 20; // more than any sane table
constexpr qsizetype maxDetails = 64 << 10;

enum class Limit { Time, Memory };

QString messageFor(Error::Cause cause, const QString &path, const QString &table = {},
    const QString &field = {}, Limit limit = Limit::Time)
{
    using C = Error::Cause;
    switch (cause) {
    case C::FileNotFound:
        return QStringLiteral("データベース ファイル '%1' が見つかりません。").arg(path);
    case C::NotAFile:
        return QStringLiteral("'%1' はファイルではないため、データベースとして開けません。")
            .arg(path);
    case C::CannotOpen:
        return QStringLiteral("データベース ファイル '%1' を開けません。").arg(path);
    case C::NotAccessDatabase:
        return QStringLiteral("ファイル '%1' は Access のデータベースではありません。").arg(path);
    case C::Damaged:
        return QStringLiteral("データベース ファイル '%1' は壊れているため、読み込めません。")
            .arg(path);
    case C::TableNotFound:
        return QStringLiteral("データベース ファイル '%1' にテーブル '%2' が見つかりません。")
            .arg(path, table);
    case C::FieldNotFound:
        return QStringLiteral(
            "データベース ファイル '%1' のテーブル '%2' にフィールド '%3' が見つかりません。")
            .arg(path, table, field);
    case C::TimedOut:
        return limit == Limit::Time
            ? QStringLiteral(
                "データベース ファイル '%1' の読み込みに時間がかかりすぎたため、中止しました。")
                  .arg(path)
            : QStringLiteral("データベース ファイル '%1' の読み込みに必要なメモリが多すぎるため、"
                             "中止しました。")
                  .arg(path);
    case C::ReaderFailed:
        return QStringLiteral(
            "データベース ファイル '%1' を読み込むためのプログラム '%2' を起動できません。")
            .arg(path, readerName);
    }
    return {};
}

// Beside the program (the build tree), then the libexec folder as seen from
// the program's own, so an install under any prefix or a package unpacked
// anywhere finds its reader; last the folder configured at build time.
QString readerProgram(const ReadOptions &options)
{
    if (!options.readerPath.isEmpty())
        return options.readerPath;
    if (QCoreApplication::instance()) {
        const QString bin = QCoreApplication::applicationDirPath();
        for (const QString &dir : { bin, bin + QStringLiteral("/" VORLANE_JET_LIBEXEC_RELDIR) }) {
            const QString candidate = QDir::cleanPath(dir + u'/' + readerName);
            if (QFileInfo(candidate).isExecutable())
                return candidate;
        }
    }
    return QStringLiteral(VORLANE_JET_LIBEXEC_DIR) + u'/' + readerName;
}

// Reads what vorlane-jetread wrote (see reader/wire.h).
struct Answer
{
    bool complete = false;
    std::optional<char> failure;
    QString failureDetail;
    QStringList names;
    std::vector<std::vector<Value>> rows;
};

class WireReader
{
public:
    explicit WireReader(const QByteArray &data)
        : p(data.constData())
        , end(p + data.size())
    {
    }

    Answer read()
    {
        Answer a;
        const qsizetype magicLength = qsizetype(sizeof jetwire::magic) - 1;
        if (end - p < magicLength || std::memcmp(p, jetwire::magic, size_t(magicLength)) != 0)
            return a;
        p += magicLength;
        qsizetype columns = -1;
        while (p < end) {
            const char tag = *p++;
            if (tag == 'H' && columns < 0) {
                const auto n = number(':');
                if (n < 0)
                    return a;
                columns = n;
                for (qsizetype i = 0; i < n; ++i) {
                    auto s = text();
                    if (!s)
                        return a;
                    a.names << *s;
                }
            } else if (tag == 'R' && columns >= 0) {
                std::vector<Value> row;
                row.reserve(size_t(columns));
                for (qsizetype i = 0; i < columns; ++i) {
                    if (p < end && *p == 'N') {
                        ++p;
                        row.emplace_back(std::nullopt);
                    } else if (auto s = text()) {
                        row.emplace_back(std::move(*s));
                    } else {
                        return a;
                    }
                }
                a.rows.push_back(std::move(row));
            } else if (tag == 'E' && p < end) {
                const char cause = *p++;
                auto s = text();
                if (!s)
                    return a;
                a.failure = cause;
                a.failureDetail = *s;
            } else if (tag == 'Z') {
                a.complete = p == end;
                return a;
            } else {
                return a;
            }
        }
        return a;
    }

private:
    qsizetype number(char terminator)
    {
        qsizetype n = 0;
        const char *start = p;
        while (p < end && *p >= '0' && *p <= '9' && p - start < 12)
            n = n * 10 + (*p++ - '0');
        if (p == start || p >= end || *p != terminator)
            return -1;
        ++p;
        return n;
    }
    std::optional<QString> text()
    {
        if (p >= end || *p != 'S')
            return std::nullopt;
        ++p;
        const auto n = number(':');
        if (n < 0 || end - p < n)
            return std::nullopt;
        QString s = QString::fromUtf8(p, n);
        p += n;
        return s;
    }

    const char *p;
    const char *end;
};

// The name the user is shown for `path`. A relative name goes under the
// working directory's name, decoded as well as it can be (that name may be
// longer than PATH_MAX or not valid UTF-8); when the folder has no name
// (deleted), the relative name itself.
QString shownPath(const QString &path, bool *folderUnnamed = nullptr)
{
    if (folderUnnamed)
        *folderUnnamed = false;
    if (QDir::isAbsolutePath(path))
        return path;
    const std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    if (!cwd || cwd.get()[0] != '/') {
        if (folderUnnamed)
            *folderUnnamed = true;
        return QDir::cleanPath(path);
    }
    return QDir::cleanPath(QFile::decodeName(cwd.get()) + u'/' + path);
}

// What can be told before the reader starts. The path is checked as given:
// a relative one stays relative to the working directory, whose full name
// may not be usable.
void checkFile(const QString &path)
{
    using C = Error::Cause;
    const QFileInfo info(path);
    if (!info.exists()) {
        bool here = false;
        const QString shown = shownPath(path, &here);
        throw Error(C::FileNotFound,
            here ? QStringLiteral("データベース ファイル '%1' が現在のフォルダーに見つかりません。")
                       .arg(shown)
                 : messageFor(C::FileNotFound, shown));
    }
    if (!info.isFile())
        throw Error(C::NotAFile, messageFor(C::NotAFile, shownPath(path)));
    if (!info.isReadable())
        throw Error(C::CannotOpen, messageFor(C::CannotOpen, shownPath(path)));
}

// The reader inherits the working directory, so the path goes as given:
// never made absolute through a folder name that may not be had.
QStringList readerArguments(const QString &path, const QString &table, const QStringList &fields,
    const ReadOptions &options)
{
    QStringList args { QStringLiteral("--memory-limit"), QString::number(options.memoryLimitBytes),
        QStringLiteral("--"), path, table };
    return args + fields;
}

} // namespace

static Table readUnlogged(const QString &databasePath, const QString &table,
    const QStringList &fields, const ReadOptions &options)
{
    using C = Error::Cause;
    checkFile(databasePath);
    const QString path = shownPath(databasePath);

    QProcess proc;
    proc.setProgram(readerProgram(options));
    proc.setArguments(readerArguments(databasePath, table, fields, options));
    auto env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "MDBPATH", "MDBICONV", "MDB_JET3_CHARSET", "MDBOPTS" })
        env.remove(QString::fromLatin1(name));
    proc.setProcessEnvironment(env);
    proc.setStandardInputFile(QProcess::nullDevice());

    QElapsedTimer clock;
    clock.start();
    const auto limit = qint64(options.timeLimit.count());
    auto left = [&] { return int(std::clamp<qint64>(limit - clock.elapsed(), 0, INT_MAX)); };

    proc.start(QIODevice::ReadOnly);
    if (!proc.waitForStarted(std::max(left(), 1)))
        throw Error(C::ReaderFailed, messageFor(C::ReaderFailed, path),
            proc.program() + QStringLiteral(": ") + proc.errorString());

    QByteArray out, err;
    bool timedOut = false, tooLarge = false;
    auto drain = [&] {
        out += proc.readAllStandardOutput();
        const QByteArray e = proc.readAllStandardError();
        err += e.left(std::max<qsizetype>(0, maxDetails - err.size()));
        tooLarge = out.size() > maxOutput;
    };
    while (proc.state() != QProcess::NotRunning) {
        if (left() == 0) {
            timedOut = true;
            break;
        }
        if (proc.waitForReadyRead(left()))
            drain();
        if (tooLarge)
            break;
    }
    if (proc.state() != QProcess::NotRunning) {
        proc.kill();
        proc.waitForFinished(2000);
    }
    drain();

    QString details = QString::fromUtf8(err).trimmed();
    auto addDetail = [&](const QString &line) {
        if (!line.isEmpty())
            details += (details.isEmpty() ? QString() : QStringLiteral("\n")) + line;
    };
    if (timedOut) {
        addDetail(QStringLiteral("%1 stopped after %2 ms").arg(readerName).arg(limit));
        throw Error(C::TimedOut, messageFor(C::TimedOut, path), details);
    }
    if (tooLarge) {
        addDetail(QStringLiteral("%1 wrote more than %2 bytes").arg(readerName).arg(maxOutput));
        throw Error(C::Damaged, messageFor(C::Damaged, path), details);
    }

    Answer answer = WireReader(out).read();
    if (answer.failure) {
        addDetail(answer.failureDetail);
        switch (*answer.failure) {
        case 'O':
            throw Error(C::CannotOpen, messageFor(C::CannotOpen, path), details);
        case 'A':
            throw Error(C::NotAccessDatabase, messageFor(C::NotAccessDatabase, path), details);
        case 'T':
            throw Error(C::TableNotFound, messageFor(C::TableNotFound, path, table), details);
        case 'F':
            throw Error(C::FieldNotFound,
                messageFor(C::FieldNotFound, path, table, answer.failureDetail), details);
        case 'M':
            throw Error(C::TimedOut, messageFor(C::TimedOut, path, {}, {}, Limit::Memory), details);
        default:
            throw Error(C::Damaged, messageFor(C::Damaged, path), details);
        }
    }
    const bool crashed = proc.exitStatus() == QProcess::CrashExit;
    if (!answer.complete || crashed || proc.exitCode() != 0) {
        addDetail(crashed ? QStringLiteral("%1 crashed").arg(readerName)
                          : QStringLiteral("%1 ended with code %2 and an incomplete answer")
                                .arg(readerName)
                                .arg(proc.exitCode()));
        // glib aborts with this text when an allocation hits the limit.
        if (err.contains("failed to allocate") || err.contains("bad_alloc"))
            throw Error(C::TimedOut, messageFor(C::TimedOut, path, {}, {}, Limit::Memory), details);
        throw Error(C::Damaged, messageFor(C::Damaged, path), details);
    }

    Table result;
    result.fields = fields.isEmpty() ? answer.names : fields;
    result.rows = std::move(answer.rows);
    return result;
}

Table readTable(const QString &databasePath, const QString &table, const QStringList &fields,
    const ReadOptions &options)
{
    try {
        return readUnlogged(databasePath, table, fields, options);
    } catch (const Error &e) {
        // The user sees only the message; the cause and the reader's own
        // output are for whoever looks into it.
        qCWarning(lcJet).noquote().nospace()
            << "cannot read table " << table << " of " << databasePath << ": " << e.cause()
            << (e.details().isEmpty() ? QString() : "\n" + e.details());
        throw;
    }
}

} // namespace jet
