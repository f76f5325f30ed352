#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList assetFiles { "bolt.bmp", "nut.bmp", "joint.bmp", "vorlane.ico", "vorlane.png",
    "vorlane-64.png", "vorlane-128.png", "vorlane-256.png" };

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace

class TestAssetsRegenerate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QProcess p;
        p.start(QStringLiteral(DRAWGEN_PATH), { m_dir.path() });
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    }

    void drawgen_writesNothingButTheAssets()
    {
        QStringList written = QDir(m_dir.path()).entryList(QDir::Files, QDir::Name);
        QStringList expected = assetFiles;
        expected.sort();
        QCOMPARE(written, expected);
    }

    void regeneratedAsset_matchesCommittedBytes_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &f : assetFiles)
            QTest::newRow(qPrintable(f)) << f;
    }

    void regeneratedAsset_matchesCommittedBytes()
    {
        QFETCH(QString, file);
        const QByteArray fresh = readAll(m_dir.filePath(file));
        const QByteArray committed = readAll(QStringLiteral(VORLANE_SOURCE_DIR "/assets/") + file);
        QVERIFY(!fresh.isEmpty());
        QVERIFY2(!committed.isEmpty(), "asset missing from assets/");
        if (fresh != committed) {
            qsizetype at = 0;
            while (at < fresh.size() && at < committed.size() && fresh[at] == committed[at])
                ++at;
            QFAIL(qPrintable(QStringLiteral("%1 differs from byte %2 on (%3 vs %4 bytes); "
                                            "run the regenerate_assets target")
                                 .arg(file)
                                 .arg(at)
                                 .arg(fresh.size())
                                 .arg(committed.size())));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestAssetsRegenerate)
#include "tst_assets_regenerate.moc"
