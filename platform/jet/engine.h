// The Access engine: reads one table of an Access database (Jet 3, Jet 4,
// ACE) as text. The file is only read, opened shared, and never locked.
// libmdb does the reading in a helper process of our own (vorlane-jetread),
// so a damaged file can neither crash nor freeze the program that asks.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <vector>

class QProcess;

namespace jet {

class Error : public std::runtime_error
{
public:
    enum class Cause {
        FileNotFound, // nothing at that path
        NotAFile, // a directory or another non-regular file
        NotAccessDatabase, // header check failed: not a Jet/ACE file at all
        Damaged, // looks like Access, but the reader failed on it
        TableNotFound,
        FieldNotFound,
        TimedOut, // the reader hit its time or memory limit
        ReaderFailed, // the helper process could not be started
        CannotOpen, // a file that may not be read (permissions)
    };

    Error(Cause cause, const QString &message, const QString &details = {});

    Cause cause() const noexcept { return m_cause; }
    // The text shown to the user: Japanese, naming the file and the cause.
    const QString &message() const noexcept { return m_message; }
    // What the reader printed (libmdb's own diagnostics), for the details.
    const QString &details() const noexcept { return m_details; }

private:
    Cause m_cause;
    QString m_message;
    QString m_details;
};

// A field value in the runtime's plain text form; std::nullopt is NULL,
// kept apart from an empty text.
using Value = std::optional<QString>;

struct Table
{
    QStringList fields; // in the order asked for
    std::vector<std::vector<Value>> rows; // in the engine's own order
};

struct ReadOptions
{
    std::chrono::milliseconds timeLimit { 5000 };
    std::size_t memoryLimitBytes { std::size_t(512) << 20 };
    // Empty: vorlane-jetread beside the running program, then in the
    // libexec folder relative to the program's, then in the configured one.
    QString readerPath;
};

// One read of a table by the reader process, without blocking: the answer
// comes from the event loop as finished() or failed(), never from start().
// A read may be started before anyone waits for it; whoever takes it over
// checks asks() and, once isDone(), reads the outcome instead of waiting
// for a signal. Deleting the read ends a reader that still runs.
class TableRead : public QObject
{
    Q_OBJECT
public:
    TableRead(const QString &databasePath, const QString &table, const QStringList &fields,
        const ReadOptions &options = {}, QObject *parent = nullptr);
    ~TableRead() override;

    // Whether this read is the one these arguments would start.
    bool asks(const QString &databasePath, const QString &table, const QStringList &fields,
        const ReadOptions &options = {}) const;

    void start(); // once
    // Blocks until the answer, the time limit included; no event loop needed.
    void waitForDone();
    bool isDone() const { return m_state == State::Done; }

    // The outcome once done: the error, or else the table.
    const std::optional<Error> &error() const { return m_error; }
    Table takeTable() { return std::move(m_result); }

signals:
    void finished();
    void failed(const jet::Error &error);

private:
    enum class State { Idle, Running, Done };

    void drain();
    void readerFinished();
    void readerFailedToStart();
    void timeLimitReached();
    void stopReader();
    void conclude(std::optional<Error> error);
    void announce();
    int msecsLeft() const;

    QString m_path; // as given: a relative one stays relative
    QString m_shown; // as the user is shown it
    QString m_table;
    QStringList m_fields;
    ReadOptions m_options;
    State m_state = State::Idle;
    bool m_inStart = false;
    QProcess *m_process = nullptr;
    QTimer m_limit;
    QElapsedTimer m_clock;
    QByteArray m_out;
    QByteArray m_err;
    Table m_result;
    std::optional<Error> m_error;
};

// Reads every row of `table` with the named `fields` (all fields when
// empty), blocking until the answer. Throws jet::Error.
Table readTable(const QString &databasePath, const QString &table, const QStringList &fields,
    const ReadOptions &options = {});

} // namespace jet
