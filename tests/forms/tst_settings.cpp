// The per-user settings store: what is written reads back, names ignore
// case, a damaged file is neither trusted nor lost, and a write replaces the
// file whole.
#include "forms/runtime.h"
#include "forms/settings.h"

#include "../support/logcapture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace forms;

namespace {
const QString kApp = QStringLiteral("Vorlane");
const QString kSection = QStringLiteral("Form1_StrtUp");
} // namespace

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

    void init() { QDir(m_config.path()).removeRecursively(), QDir().mkpath(m_config.path()); }

    void storePath_isUnderXdgConfigHome()
    {
        QCOMPARE(storePath(), m_config.path() + QStringLiteral("/Vorlane/settings.ini"));
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

    void commentsAndCrLf_areRead()
    {
        writeStore("; note\r\n# note\r\n\r\n[Form1_StrtUp]\r\nX1=15\r\nY1=-30\r\n");
        QCOMPARE(GetSetting(kApp, kSection, "X1"), QStringLiteral("15"));
        QCOMPARE(GetSetting(kApp, kSection, "Y1"), QStringLiteral("-30"));
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

    void unwritableStore_raisesRuntimeError()
    {
        // The store's folder is taken by a file: nothing can be written.
        QFile blocker(m_config.path() + "/Vorlane");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        try {
            SaveSetting(kApp, kSection, "X1", "1");
            QFAIL("no error");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), 75);
        }
        QCOMPARE(GetSetting(kApp, kSection, "X1", "d"), QStringLiteral("d"));
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
