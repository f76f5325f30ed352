// The per-user settings store: what is written reads back, names ignore
// case, a damaged or foreign file is neither trusted nor lost, nothing at
// the store's place blocks or floods a read, and a write replaces the file
// whole or, on any failure, not at all.
#include "forms/runtime.h"
#include "forms/settings.h"

#include "../support/logcapture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace forms;

namespace {
const QString kApp = QStringLiteral("Vorlane");
const QString kSection = QStringLiteral("Form1_StrtUp");

// A read that blocks or never ends would hang the test; this kills it.
struct Deadline
{
    Deadline() { ::alarm(10); }
    ~Deadline() { ::alarm(0); }
};

// Sets or (for a null value) unsets an environment variable for one scope.
class EnvGuard
{
public:
    EnvGuard(const char *name, const QByteArray &value)
        : m_name(name)
        , m_old(qgetenv(name))
        , m_was(qEnvironmentVariableIsSet(name))
    {
        set(value, !value.isNull());
    }
    ~EnvGuard() { set(m_old, m_was); }

private:
    void set(const QByteArray &value, bool present)
    {
        if (present)
            qputenv(m_name, value);
        else
            qunsetenv(m_name);
    }
    const char *m_name;
    QByteArray m_old;
    bool m_was;
};

enum class DiskFault { FullFileSystem, FileSizeLimit };
} // namespace
Q_DECLARE_METATYPE(DiskFault)

class TstSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

    QString storePath() const { return settingsFilePath(kApp); }
    QByteArray readStore() const
    {
        QFile f(storePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeStore(const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(storePath()).absolutePath());
        QFile f(storePath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void init()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QDir(m_config.path()).removeRecursively(), QDir().mkpath(m_config.path());
    }

    void storePath_followsBaseDirectoryRules_data()
    {
        QTest::addColumn<QByteArray>("home"); // null: unset
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QString>("base"); // "<passwd>": the password database's home

        QTest::newRow("absolute XDG_CONFIG_HOME")
            << QByteArray("/h") << QByteArray("/x/cfg") << "/x/cfg";
        QTest::newRow("relative XDG_CONFIG_HOME ignored")
            << QByteArray("/h") << QByteArray("rel/cfg") << "/h/.config";
        QTest::newRow("empty XDG_CONFIG_HOME")
            << QByteArray("/h") << QByteArray("") << "/h/.config";
        QTest::newRow("XDG_CONFIG_HOME unset") << QByteArray("/h") << QByteArray() << "/h/.config";
        QTest::newRow("neither set") << QByteArray() << QByteArray() << "<passwd>/.config";
        QTest::newRow("relative HOME") << QByteArray("rel") << QByteArray() << "<passwd>/.config";
    }
    void storePath_followsBaseDirectoryRules()
    {
        QFETCH(QByteArray, home);
        QFETCH(QByteArray, xdg);
        QFETCH(QString, base);
        const struct passwd *pw = ::getpwuid(::getuid());
        QVERIFY(pw && pw->pw_dir);
        base.replace("<passwd>", QFile::decodeName(pw->pw_dir));
        const EnvGuard homeGuard("HOME", home);
        const EnvGuard xdgGuard("XDG_CONFIG_HOME", xdg);
        QCOMPARE(storePath(), QDir::cleanPath(base + "/Vorlane/settings.ini"));
        QVERIFY(!storePath().startsWith("/.config"));
    }

    void missingStore_givesDefault()
    {
        QCOMPARE(GetSetting(kApp, kSection, "X1", "345"), QStringLiteral("345"));
        QCOMPARE(GetSetting(kApp, kSection, "X1"), QString());
        SaveSetting(kApp, kSection, "X1", "10");
        QCOMPARE(GetSetting(kApp, kSection, "Y1", "7"), QStringLiteral("7"));
        QCOMPARE(GetSetting(kApp, "Other", "X1", "8"), QStringLiteral("8"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("whole") << "1500";
        QTest::newRow("negative fraction") << "-1234.5";
        QTest::newRow("empty") << "";
        QTest::newRow("blanks kept") << "  12 ";
        QTest::newRow("japanese") << "六角ボルト・ナット";
        QTest::newRow("line breaks") << "a\nb\r\nc";
        QTest::newRow("backslashes") << "C:\\x\\n\\";
        QTest::newRow("ini syntax") << "[x]=;#";
    }
    void roundTrip()
    {
        QFETCH(QString, value);
        SaveSetting(kApp, kSection, "X1", value);
        QCOMPARE(GetSetting(kApp, kSection, "X1", "default"), value);
        // A second write of another key keeps the first.
        SaveSetting(kApp, kSection, "Y1", "2");
        SaveSetting(kApp, "Other", "X1", "3");
        QCOMPARE(GetSetting(kApp, kSection, "X1", "default"), value);
        QCOMPARE(GetSetting(kApp, kSection, "Y1"), QStringLiteral("2"));
        QCOMPARE(GetSetting(kApp, "Other", "X1"), QStringLiteral("3"));
    }

    // The first of twice-written keys or sections is read, the same one is
    // changed, and a save leaves one of each.
    void duplicates_readAndWriteTheSameEntry_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("x1");
        QTest::addColumn<QString>("y1");
        QTest::newRow("keys twice")
            << QByteArray("[Form1_StrtUp]\nX1=1500\nY1=1200\nX1=6000\nY1=4500\n") << "1500"
            << "1200";
        QTest::newRow("section twice in other case")
            << QByteArray("[Form1_StrtUp]\nX1=1500\nY1=1200\n[form1_strtup]\nX1=6000\nY1=4500\n")
            << "1500"
            << "1200";
        QTest::newRow("key only in the second section")
            << QByteArray("[Form1_StrtUp]\nY1=1200\n[FORM1_STRTUP]\nx1=6000\nY1=4500\n") << "6000"
            << "1200";
    }
    void duplicates_readAndWriteTheSameEntry()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, x1);
        QFETCH(QString, y1);
        writeStore(bytes);
        QCOMPARE(GetSetting(kApp, kSection, "X1"), x1);
        QCOMPARE(GetSetting(kApp, kSection, "Y1"), y1);

        SaveSetting(kApp, kSection, "X1", "7000");
        QCOMPARE(GetSetting(kApp, kSection, "X1"), QStringLiteral("7000"));
        QCOMPARE(GetSetting(kApp, kSection, "Y1"), y1);
        const QByteArray after = readStore().toLower();
        QCOMPARE(after.count("[form1_strtup]"), 1);
        QCOMPARE(after.count("x1="), 1);
        QCOMPARE(after.count("y1="), 1);
    }

    void names_ignoreCase()
    {
        SaveSetting(kApp, kSection, "X1", "100");
        QCOMPARE(GetSetting(kApp, "form1_strtup", "x1"), QStringLiteral("100"));
        QCOMPARE(GetSetting(kApp, "FORM1_STRTUP", "X1"), QStringLiteral("100"));
        // Writing under another case replaces the entry rather than adding one.
        SaveSetting(kApp, "FORM1_strtup", "x1", "200");
        QCOMPARE(GetSetting(kApp, kSection, "X1"), QStringLiteral("200"));
        QCOMPARE(readStore().count("["), 1);
        QCOMPARE(readStore().toLower().count("x1="), 1);
    }

    void unparsableStore_readsEmpty_andIsKeptOnWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not utf-8") << QByteArray("[Form1_StrtUp]\nX1=\xff\xfe\n");
        QTest::newRow("binary") << QByteArray("\x00\x01\x02garbage", 10);
        QTest::newRow("entry before section") << QByteArray("X1=5\n[Form1_StrtUp]\n");
        QTest::newRow("line without =") << QByteArray("[Form1_StrtUp]\nX1 5\n");
        QTest::newRow("open section") << QByteArray("[Form1_StrtUp\nX1=5\n");
        QTest::newRow("bad escape") << QByteArray("[Form1_StrtUp]\nX1=5\\q\n");
        QTest::newRow("cut after escape") << QByteArray("[Form1_StrtUp]\nX1=5\\");
        // Well formed, but larger than any store of ours.
        QByteArray big("[Form1_StrtUp]\nX1=5\n");
        big += QByteArray((1 << 20) - big.size() + 1, ';');
        QTest::newRow("over the size bound") << big;
    }
    void unparsableStore_readsEmpty_andIsKeptOnWrite()
    {
        QFETCH(QByteArray, bytes);
        writeStore(bytes);
        QCOMPARE(GetSetting(kApp, kSection, "X1", "def"), QStringLiteral("def"));
        QCOMPARE(readStore(), bytes); // reading leaves it alone

        LogCapture log;
        SaveSetting(kApp, kSection, "Y1", "42");
        QCOMPARE(log.warnings("vorlane.forms").size(), 1);
        QFile bad(storePath() + ".bad");
        QVERIFY(bad.open(QIODevice::ReadOnly));
        QCOMPARE(bad.readAll(), bytes);
        QCOMPARE(GetSetting(kApp, kSection, "Y1"), QStringLiteral("42"));
        QCOMPARE(GetSetting(kApp, kSection, "X1", "def"), QStringLiteral("def"));

        // The good store is not copied over the kept one by later writes.
        SaveSetting(kApp, kSection, "Y1", "43");
        QVERIFY(bad.seek(0));
        QCOMPARE(bad.readAll(), bytes);
        QCOMPARE(log.warnings("vorlane.forms").size(), 1);
    }

    void byteOrderMarkCommentsAndCrLf_areRead()
    {
        writeStore("\xEF\xBB\xBF; note\r\n# note\r\n\r\n[Form1_StrtUp]\r\nX1=15\r\nY1=-30\r\n");
        QCOMPARE(GetSetting(kApp, kSection, "X1"), QStringLiteral("15"));
        QCOMPARE(GetSetting(kApp, kSection, "Y1"), QStringLiteral("-30"));
        SaveSetting(kApp, kSection, "X1", "16");
        QVERIFY(!QFile::exists(storePath() + ".bad"));
        QCOMPARE(GetSetting(kApp, kSection, "Y1"), QStringLiteral("-30"));
    }

    // A FIFO would block the open, a device would never end: such a store
    // reads as empty at once, and a save refuses it without touching it.
    void notRegularStore_readsEmpty_andSaveLeavesIt_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("link to /dev/zero") << "zero";
        QTest::newRow("folder") << "folder";
    }
    void notRegularStore_readsEmpty_andSaveLeavesIt()
    {
        QFETCH(QString, kind);
        QVERIFY(QDir().mkpath(QFileInfo(storePath()).absolutePath()));
        const QByteArray path = QFile::encodeName(storePath());
        if (kind == "fifo")
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        else if (kind == "zero")
            QCOMPARE(::symlink("/dev/zero", path.constData()), 0);
        else
            QVERIFY(QDir().mkdir(storePath()));
        struct stat before = {};
        QCOMPARE(::lstat(path.constData(), &before), 0);

        const Deadline deadline;
        QCOMPARE(GetSetting(kApp, kSection, "X1", "def"), QStringLiteral("def"));
        try {
            SaveSetting(kApp, kSection, "X1", "1");
            QFAIL("no error");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), 75);
        }
        struct stat after = {};
        QCOMPARE(::lstat(path.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(
            QDir(QFileInfo(storePath()).absolutePath())
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList { "settings.ini" });
    }

    // A store reached through a link is written where the link points, the
    // link kept; also when the file is not there yet, as with a link kept
    // among the user's other dotfiles.
    void linkedStore_isWrittenThroughTheLink_data()
    {
        QTest::addColumn<QByteArray>("link"); // relative to the store's folder
        QTest::addColumn<QByteArray>("before"); // null: no file yet
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("to a file")
            << QByteArray("../elsewhere.ini") << QByteArray("[Form1_StrtUp]\nY1=9\n")
            << QByteArray("[Form1_StrtUp]\nY1=9\nX1=8\n");
        QTest::newRow("to a file not there yet") << QByteArray("../elsewhere.ini") << QByteArray()
                                                 << QByteArray("[Form1_StrtUp]\nX1=8\n");
    }
    void linkedStore_isWrittenThroughTheLink()
    {
        QFETCH(QByteArray, link);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QString target = m_config.path() + "/elsewhere.ini";
        QFile t(target);
        if (!before.isNull()) {
            QVERIFY(t.open(QIODevice::WriteOnly));
            t.write(before);
            t.close();
        }
        QVERIFY(QDir().mkpath(QFileInfo(storePath()).absolutePath()));
        QCOMPARE(::symlink(link.constData(), QFile::encodeName(storePath()).constData()), 0);
        SaveSetting(kApp, kSection, "X1", "8");
        QVERIFY(QFileInfo(storePath()).isSymLink());
        QVERIFY(t.open(QIODevice::ReadOnly));
        QCOMPARE(t.readAll(), after);
        QCOMPARE(GetSetting(kApp, kSection, "X1"), QStringLiteral("8"));
    }

    // A write that fails on the way (full disk, file size limit) leaves the
    // old store byte for byte, no temporary file, and raises error 75.
    void failedWrite_keepsOldStore_data()
    {
        QTest::addColumn<DiskFault>("fault");
        QTest::newRow("full file system") << DiskFault::FullFileSystem;
        QTest::newRow("file size limit") << DiskFault::FileSizeLimit;
    }
    void failedWrite_keepsOldStore()
    {
        QFETCH(DiskFault, fault);
        const QString mountPoint = m_config.path() + "/small";
        if (fault == DiskFault::FullFileSystem) {
            if (::geteuid() != 0)
                QSKIP("mounting a small tmpfs needs root");
            QVERIFY(QDir().mkpath(mountPoint));
            if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k")
                != 0)
                QSKIP(qPrintable(
                    "cannot mount a tmpfs here: " + QString::fromLocal8Bit(strerror(errno))));
        }
        const struct Unmount
        {
            QString at;
            ~Unmount()
            {
                if (!at.isEmpty())
                    ::umount2(QFile::encodeName(at).constData(), MNT_DETACH);
            }
        } unmount { fault == DiskFault::FullFileSystem ? mountPoint : QString() };
        const EnvGuard xdg("XDG_CONFIG_HOME",
            QFile::encodeName(fault == DiskFault::FullFileSystem ? mountPoint : m_config.path()));

        SaveSetting(kApp, kSection, "X1", "1500");
        SaveSetting(kApp, kSection, "Y1", "1200");
        const QByteArray before = readStore();
        // Held first, so that the fault meets the store's own write, not the lock.
        const SettingsLock lock(kApp);

        struct rlimit oldLimit = {};
        if (fault == DiskFault::FullFileSystem) {
            QFile filler(mountPoint + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) { }
        } else {
            ::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
            struct rlimit small = oldLimit;
            small.rlim_cur = 16;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        }

        int number = 0;
        try {
            SaveSetting(kApp, kSection, "X1", "3000000");
        } catch (const RuntimeError &e) {
            number = e.number();
        }
        if (fault == DiskFault::FileSizeLimit)
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &oldLimit), 0);
        QCOMPARE(number, 75);
        QCOMPARE(readStore(), before);
        QCOMPARE(QDir(QFileInfo(storePath()).absolutePath())
                     .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({ "settings.ini", "settings.ini.lock" }));
    }

    void write_replacesFileWhole()
    {
        SaveSetting(kApp, kSection, "X1", "1");
        const QByteArray before = readStore();
        // A reader that has the old file open keeps seeing all of it: the new
        // store is written beside it and renamed over it, never in place.
        const int fd = ::open(QFile::encodeName(storePath()).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        struct stat oldStat = {};
        QCOMPARE(::fstat(fd, &oldStat), 0);

        SaveSetting(kApp, kSection, "X1", "2222222");

        char buf[256] = {};
        const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
        ::close(fd);
        QCOMPARE(QByteArray(buf, int(n)), before);
        struct stat newStat = {};
        QCOMPARE(::stat(QFile::encodeName(storePath()).constData(), &newStat), 0);
        QVERIFY(newStat.st_ino != oldStat.st_ino);
        QCOMPARE(GetSetting(kApp, kSection, "X1"), QStringLiteral("2222222"));
        // Nothing is left behind in the folder.
        QCOMPARE(QDir(QFileInfo(storePath()).absolutePath())
                     .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList { "settings.ini" });
    }

    // Error 75, the store as it was, and the log names the file and why.
    void unwritableStore_raisesRuntimeError_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("inLog");
        QTest::newRow("folder taken by a file") << "folder is a file"
                                                << "Vorlane";
        QTest::newRow("store made read-only") << "read-only store"
                                              << "read-only:";
        QTest::newRow("link to a folder not there") << "dangling folder"
                                                    << "cannot follow the link";
    }
    void unwritableStore_raisesRuntimeError()
    {
        QFETCH(QString, fault);
        QFETCH(QString, inLog);
        QString expected = QStringLiteral("d");
        if (fault == "folder is a file") {
            QFile blocker(m_config.path() + "/Vorlane");
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else if (fault == "read-only store") {
            // Pinned by its owner: left as it is, even for root.
            SaveSetting(kApp, kSection, "X1", "1500");
            QVERIFY(QFile::setPermissions(storePath(), QFile::ReadOwner | QFile::ReadGroup));
            expected = QStringLiteral("1500");
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(storePath()).absolutePath()));
            QCOMPARE(
                ::symlink("../nowhere/settings.ini", QFile::encodeName(storePath()).constData()),
                0);
        }
        const QByteArray before = readStore();
        LogCapture log;
        try {
            SaveSetting(kApp, kSection, "X1", "1");
            QFAIL("no error");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), 75);
        }
        QCOMPARE(readStore(), before);
        QCOMPARE(GetSetting(kApp, kSection, "X1", "d"), expected);
        const QStringList warnings = log.warnings("vorlane.forms");
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings[0].contains(inLog), qPrintable(warnings[0]));
    }

    void badNames_raiseRuntimeError_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("empty key") << kSection << "";
        QTest::newRow("key with =") << kSection << "a=b";
        QTest::newRow("key with line break") << kSection << "a\nb";
        QTest::newRow("section with ]") << "a]b"
                                        << "X1";
        QTest::newRow("empty section") << ""
                                       << "X1";
    }
    void badNames_raiseRuntimeError()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        SaveSetting(kApp, kSection, "X1", "1");
        const QByteArray before = readStore();
        QVERIFY_THROWS_EXCEPTION(RuntimeError, SaveSetting(kApp, section, key, "v"));
        QCOMPARE(readStore(), before);
    }
};

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
