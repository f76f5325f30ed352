#include "engine.h"

#include "logging.h"
#include "reader/wire.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

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
            // The first one there is used, so that a failure names it.
            const QString candidate = QDir::cleanPath(dir + u'/' + readerName);
            if (QFileInfo(candidate).isFile())
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

// The error in what a reader that has ended wrote, if any.
std::optional<Error> errorInAnswer(const Answer &answer, const QProcess &proc,
    const QByteArray &err, QString details, const QString &path, const QString &table)
{
    using C = Error::Cause;
    auto addDetail = [&](const QString &line) {
        if (!line.isEmpty())
            details += (details.isEmpty() ? QString() : QStringLiteral("\n")) + line;
    };
    if (answer.failure) {
        addDetail(answer.failureDetail);
        switch (*answer.failure) {
        case 'O':
            return Error(C::CannotOpen, messageFor(C::CannotOpen, path), details);
        case 'A':
            return Error(C::NotAccessDatabase, messageFor(C::NotAccessDatabase, path), details);
        case 'T':
            return Error(C::TableNotFound, messageFor(C::TableNotFound, path, table), details);
        case 'F':
            return Error(C::FieldNotFound,
                messageFor(C::FieldNotFound, path, table, answer.failureDetail), details);
        case 'M':
            return Error(
                C::TimedOut, messageFor(C::TimedOut, path, {}, {}, Limit::Memory), details);
        default:
            return Error(C::Damaged, messageFor(C::Damaged, path), details);
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
            return Error(
                C::TimedOut, messageFor(C::TimedOut, path, {}, {}, Limit::Memory), details);
        return Error(C::Damaged, messageFor(C::Damaged, path), details);
    }
    return std::nullopt;
}

} // namespace

TableRead::TableRead(const QString &databasePath, const QString &table, const QStringList &fields,
    const ReadOptions &options, QObject *parent)
    : QObject(parent)
    , m_path(databasePath)
    , m_table(table)
    , m_fields(fields)
    , m_options(options)
{
    m_options.readerPath = readerProgram(options);
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, &TableRead::timeLimitReached);
}

TableRead::~TableRead()
{
    stopReader();
}

bool TableRead::asks(const QString &databasePath, const QString &table, const QStringList &fields,
    const ReadOptions &options) const
{
    return databasePath == m_path && table == m_table && fields == m_fields
        && options.timeLimit == m_options.timeLimit
        && options.memoryLimitBytes == m_options.memoryLimitBytes
        && readerProgram(options) == m_options.readerPath;
}

void TableRead::start()
{
    if (m_state != State::Idle)
        return;
    m_state = State::Running;
    m_inStart = true;
    m_clock.start();
    try {
        checkFile(m_path);
    } catch (const Error &e) {
        conclude(e);
        m_inStart = false;
        return;
    }
    m_shown = shownPath(m_path);
    m_process = new QProcess(this);
    m_process->setProgram(m_options.readerPath);
    m_process->setArguments(readerArguments(m_path, m_table, m_fields, m_options));
    auto env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "MDBPATH", "MDBICONV", "MDB_JET3_CHARSET", "MDBOPTS" })
        env.remove(QString::fromLatin1(name));
    m_process->setProcessEnvironment(env);
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &TableRead::drain);
    connect(m_process, &QProcess::readyReadStandardError, this, &TableRead::drain);
    connect(m_process, &QProcess::finished, this, &TableRead::readerFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            readerFailedToStart();
    });
    // Without an event loop (waitForDone) the clock alone keeps the limit.
    if (thread()->eventDispatcher())
        m_limit.start(int(std::clamp<qint64>(m_options.timeLimit.count(), 0, INT_MAX)));
    m_process->start(QIODevice::ReadOnly);
    m_inStart = false;
}

int TableRead::msecsLeft() const
{
    return int(std::clamp<qint64>(m_options.timeLimit.count() - m_clock.elapsed(), 0, INT_MAX));
}

void TableRead::waitForDone()
{
    while (m_state == State::Running && m_process) {
        const int left = msecsLeft();
        if (left == 0) {
            timeLimitReached();
            break;
        }
        switch (m_process->state()) {
        case QProcess::Starting:
            m_process->waitForStarted(left); // a failure comes through errorOccurred
            break;
        case QProcess::Running:
            m_process->waitForReadyRead(left); // and finished, when it ends
            break;
        case QProcess::NotRunning:
            readerFinished();
            break;
        }
    }
}

void TableRead::drain()
{
    if (!m_process || m_state != State::Running)
        return;
    m_out += m_process->readAllStandardOutput();
    const QByteArray e = m_process->readAllStandardError();
    m_err += e.left(std::max<qsizetype>(0, maxDetails - m_err.size()));
    if (m_out.size() > maxOutput) {
        stopReader();
        QString details = QString::fromUtf8(m_err).trimmed();
        details += (details.isEmpty() ? QString() : QStringLiteral("\n"))
            + QStringLiteral("%1 wrote more than %2 bytes").arg(readerName).arg(maxOutput);
        conclude(Error(Error::Cause::Damaged, messageFor(Error::Cause::Damaged, m_shown), details));
    }
}

void TableRead::readerFinished()
{
    if (!m_process || m_state != State::Running)
        return;
    drain();
    if (m_state != State::Running)
        return;
    Answer answer = WireReader(m_out).read();
    auto error = errorInAnswer(
        answer, *m_process, m_err, QString::fromUtf8(m_err).trimmed(), m_shown, m_table);
    stopReader();
    if (!error) {
        m_result.fields = m_fields.isEmpty() ? answer.names : m_fields;
        m_result.rows = std::move(answer.rows);
    }
    m_out.clear();
    conclude(std::move(error));
}

void TableRead::readerFailedToStart()
{
    if (!m_process || m_state != State::Running)
        return;
    const QString details = m_process->program() + QStringLiteral(": ") + m_process->errorString();
    stopReader();
    conclude(Error(
        Error::Cause::ReaderFailed, messageFor(Error::Cause::ReaderFailed, m_shown), details));
}

void TableRead::timeLimitReached()
{
    if (m_state != State::Running)
        return;
    if (m_process)
        drain();
    if (m_state != State::Running)
        return;
    stopReader();
    QString details = QString::fromUtf8(m_err).trimmed();
    details += (details.isEmpty() ? QString() : QStringLiteral("\n"))
        + QStringLiteral("%1 stopped after %2 ms").arg(readerName).arg(m_options.timeLimit.count());
    conclude(Error(Error::Cause::TimedOut, messageFor(Error::Cause::TimedOut, m_shown), details));
}

// Ends the reader, if it still runs, and waits for it so that no process
// is left behind: a stopped (SIGSTOP) reader dies of SIGKILL all the same.
void TableRead::stopReader()
{
    m_limit.stop();
    if (!m_process)
        return;
    QProcess *proc = std::exchange(m_process, nullptr);
    proc->disconnect(this);
    if (proc->state() != QProcess::NotRunning) {
        proc->kill();
        proc->waitForFinished(2000);
    }
    proc->deleteLater();
}

void TableRead::conclude(std::optional<Error> error)
{
    m_state = State::Done;
    m_error = std::move(error);
    if (m_error) {
        // The user sees only the message; the cause and the reader's own
        // output are for whoever looks into it.
        qCWarning(lcJet).noquote().nospace()
            << "cannot read table " << m_table << " of " << m_path << ": " << m_error->cause()
            << (m_error->details().isEmpty() ? QString() : "\n" + m_error->details());
    }
    if (m_inStart)
        QMetaObject::invokeMethod(this, &TableRead::announce, Qt::QueuedConnection);
    else
        announce();
}

void TableRead::announce()
{
    if (m_error)
        emit failed(*m_error);
    else
        emit finished();
}

Table readTable(const QString &databasePath, const QString &table, const QStringList &fields,
    const ReadOptions &options)
{
    TableRead read(databasePath, table, fields, options);
    read.start();
    read.waitForDone();
    if (read.error())
        throw *read.error();
    return read.takeTable();
}

} // namespace jet
