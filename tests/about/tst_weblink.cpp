#include "about/form2.h"
#include "controls/commandbutton.h"
#include "controls/formlabel.h"
#include "forms/msgbox.h"
#include "forms/system.h"
#include "modal.h"
#include "win32/shell.h"

#include "../support/logcapture.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using about::Form2;

namespace {
const QString kSentinel = QStringLiteral("sentinel-run-by-the-test");
}

// A stand-in for the desktop's opener, first on PATH: it writes its
// working directory, its argument count and its arguments, one line per
// start, to $VORLANE_OPENER_LOG.
class TestWebLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void shellExecute_handsFileToOpener_data();
    void shellExecute_handsFileToOpener();
    void shellExecute_failures_data();
    void shellExecute_failures();
    void shellExecute_noOpenerOnPath_fails();
    void getDesktopWindow_isStableAndNonZero();
    void linkClick_opensOncePerClick();
    void linkClick_withoutOpener_reportsNothing();
    void keyboard_neverReachesLink();

private:
    QStringList openerLog() const;
    // Waits until the opener has been started `lines` times by the program,
    // then runs it once more itself and waits for that to end: a start too
    // many, begun before, has logged by then.
    QStringList waitForOpenerLog(int lines) const;

    QTemporaryDir m_dir;
    QString m_opener;
    QString m_log;
    QByteArray m_path;
};

void TestWebLink::initTestCase()
{
    forms::installFontSubstitutes();
    forms::setEndHook([] { QFAIL("the program ended"); });
    QVERIFY(m_dir.isValid());
    const QString bin = m_dir.filePath("bin");
    QVERIFY(QDir().mkpath(bin));
    m_opener = bin + "/xdg-open";
    QFile script(m_opener);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        "#!/bin/sh\nprintf '%s\\t%s\\t%s\\n' \"$PWD\" \"$#\" \"$*\" >> \"$VORLANE_OPENER_LOG\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    m_log = m_dir.filePath("opener.log");
    qputenv("VORLANE_OPENER_LOG", QFile::encodeName(m_log));
    m_path = QFile::encodeName(bin) + ':' + qgetenv("PATH");
}

void TestWebLink::init()
{
    QFile::remove(m_log);
    qputenv("PATH", m_path);
    forms::setMsgBoxHook({});
}

QStringList TestWebLink::openerLog() const
{
    QFile f(m_log);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

QStringList TestWebLink::waitForOpenerLog(int lines) const
{
    const auto isSentinel = [](const QString &line) { return line.endsWith(u'\t' + kSentinel); };
    const auto opened = [&](const QStringList &log) {
        QStringList starts;
        for (const QString &line : log)
            if (!isSentinel(line))
                starts << line;
        return starts;
    };
    // Earlier sentinels are in the log too: only the program's starts count.
    // A shortfall shows in the caller's comparison of the lines.
    [[maybe_unused]] const bool enough
        = QTest::qWaitFor([&] { return opened(openerLog()).size() >= lines; }, 5000);
    QProcess::execute(m_opener, { kSentinel });
    // Should a line come after the sentinel, the sentinels stay in, and the
    // caller's comparison shows them.
    const QStringList log = openerLog();
    if (log.isEmpty() || !isSentinel(log.last()))
        return log;
    return opened(log);
}

void TestWebLink::shellExecute_handsFileToOpener_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QString>("expectedDir");

    const QString cwd = QDir::currentPath();
    QTest::newRow("address") << QByteArray("open") << QByteArray("https://www.vorlane.example/")
                             << QByteArray("") << cwd;
    // Handed over as it stands: no shell sees it.
    QTest::newRow("shell characters")
        << QByteArray("open") << QByteArray("https://a.example/x y?$(touch pwned)&b=`id`;c")
        << QByteArray("") << cwd;
    QTest::newRow("no verb means open")
        << QByteArray() << QByteArray("mailto:info@vorlane.example") << QByteArray("") << cwd;
    QTest::newRow("directory") << QByteArray("open") << QByteArray("page.html")
                               << QFile::encodeName(QDir::tempPath()) << QDir::tempPath();
}

void TestWebLink::shellExecute_handsFileToOpener()
{
    QFETCH(QByteArray, verb);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, directory);
    QFETCH(QString, expectedDir);

    win32::SetLastError(1234);
    const win32::HINSTANCE result = win32::ShellExecuteA(win32::GetDesktopWindow(),
        verb.isNull() ? nullptr : verb.constData(), file.constData(), nullptr,
        directory.constData(), win32::SW_SHOW);
    QVERIFY(result > 32);
    QCOMPARE(win32::GetLastError(), win32::ERROR_SUCCESS);
    const QStringList log = waitForOpenerLog(1);
    QCOMPARE(log, QStringList(expectedDir + "\t1\t" + QString::fromUtf8(file)));
    QVERIFY(!QFile::exists(expectedDir + "/pwned"));
}

void TestWebLink::shellExecute_failures_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<qint64>("result");
    QTest::addColumn<uint>("lastError");

    const QByteArray url("https://www.vorlane.example/");
    QTest::newRow("other verb") << QByteArray("print") << url << QByteArray("")
                                << qint64(win32::SE_ERR_NOASSOC) << win32::ERROR_NO_ASSOCIATION;
    QTest::newRow("empty file") << QByteArray("open") << QByteArray("") << QByteArray("")
                                << qint64(win32::SE_ERR_FNF) << win32::ERROR_FILE_NOT_FOUND;
    QTest::newRow("null file") << QByteArray("open") << QByteArray() << QByteArray("")
                               << qint64(win32::SE_ERR_FNF) << win32::ERROR_FILE_NOT_FOUND;
    QTest::newRow("missing directory")
        << QByteArray("open") << url << QByteArray("/nonexistent/vorlane")
        << qint64(win32::SE_ERR_PNF) << win32::ERROR_PATH_NOT_FOUND;
}

void TestWebLink::shellExecute_failures()
{
    QFETCH(QByteArray, verb);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, directory);
    QFETCH(qint64, result);
    QFETCH(uint, lastError);

    win32::SetLastError(0);
    QCOMPARE(
        qint64(win32::ShellExecuteA(0, verb.constData(), file.isNull() ? nullptr : file.constData(),
            nullptr, directory.constData(), win32::SW_SHOW)),
        result);
    QCOMPARE(win32::GetLastError(), lastError);
    QCOMPARE(waitForOpenerLog(0), QStringList());
}

void TestWebLink::shellExecute_noOpenerOnPath_fails()
{
    qputenv("PATH", QFile::encodeName(m_dir.filePath("nothing-here")));
    LogCapture log;
    QCOMPARE(win32::ShellExecuteA(
                 0, "open", "https://www.vorlane.example/", nullptr, "", win32::SW_SHOW),
        win32::SE_ERR_NOASSOC);
    QCOMPARE(win32::GetLastError(), win32::ERROR_NO_ASSOCIATION);
    // The caller looks at no result; the log says why nothing opened.
    QCOMPARE(log.warnings("vorlane.win32").size(), 1);
    QVERIFY(log.warnings("vorlane.win32")[0].contains("xdg-open"));
}

void TestWebLink::getDesktopWindow_isStableAndNonZero()
{
    const win32::HWND desktop = win32::GetDesktopWindow();
    QVERIFY(desktop != 0);
    QCOMPARE(win32::GetDesktopWindow(), desktop);
}

namespace {
QPoint inWindow(QWidget *w, QPoint p)
{
    return w->mapTo(w->window(), p);
}
} // namespace

void TestWebLink::linkClick_opensOncePerClick()
{
    auto *form = new Form2;
    QStringList afterFirst, afterSecond, afterStrip, afterOthers;
    bool stillModal = false;
    std::uint32_t lastError = 1234;
    bool timedOut = false;
    testing::whileModal([form] { forms::showModal(*form); },
        [&](Form2 &f) {
            QWindow *w = f.windowHandle();
            QWidget *link = f.Label13(7);
            const QPoint middle = inWindow(link, link->rect().center());
            forms::recordLastDllError(1234);
            QTest::mouseClick(w, Qt::LeftButton, {}, middle);
            afterFirst = waitForOpenerLog(1);
            lastError = forms::lastDllError();
            QTest::mouseClick(w, Qt::LeftButton, {}, middle);
            afterSecond = waitForOpenerLog(2);
            // Where the mail line and the link overlap, the link is hit.
            QWidget *mail = f.control("Label12");
            const QRect strip = mail->geometry() & link->geometry();
            QTest::mouseClick(w, Qt::LeftButton, {},
                f.client()->mapTo(&f, QPoint(strip.center().x(), strip.top())));
            afterStrip = waitForOpenerLog(3);
            // Nothing else opens anything.
            for (const char *key :
                { "Label12", "Label11", "Label1", "Label3", "Label4", "Frame1" }) {
                QWidget *c = f.control(key);
                QTest::mouseClick(w, Qt::LeftButton, {}, inWindow(c, QPoint(1, 1)));
            }
            QTest::mouseClick(
                w, Qt::LeftButton, {}, f.client()->mapTo(&f, QPoint(20, f.client()->height() / 2)));
            afterOthers = waitForOpenerLog(3);
            stillModal = testing::modalForm2() == &f && f.isVisible();
            f.Command1->click();
        },
        &timedOut);
    QVERIFY(!timedOut);
    const QString line = QDir::currentPath() + "\t1\thttps://www.vorlane.example/";
    QCOMPARE(afterFirst, QStringList { line });
    QCOMPARE(lastError, win32::ERROR_SUCCESS);
    QCOMPARE(afterSecond, QStringList(2, line));
    QCOMPARE(afterStrip, QStringList(3, line));
    QCOMPARE(afterOthers, QStringList(3, line));
    QVERIFY(stillModal);
}

void TestWebLink::linkClick_withoutOpener_reportsNothing()
{
    qputenv("PATH", QFile::encodeName(m_dir.filePath("nothing-here")));
    int boxes = 0;
    forms::setMsgBoxHook([&](const forms::MsgBoxCall &) {
        ++boxes;
        return int(forms::vbOK);
    });
    auto *form = new Form2;
    bool stillModal = false;
    bool timedOut = false;
    testing::whileModal([form] { forms::showModal(*form); },
        [&](Form2 &f) {
            QWidget *link = f.Label13(7);
            QTest::mouseClick(
                f.windowHandle(), Qt::LeftButton, {}, inWindow(link, link->rect().center()));
            stillModal = testing::modalForm2() == &f && f.isVisible();
            f.Command1->click();
        },
        &timedOut);
    QVERIFY(!timedOut);
    QVERIFY(stillModal);
    QCOMPARE(boxes, 0);
    QCOMPARE(forms::lastDllError(), win32::ERROR_NO_ASSOCIATION);
    QVERIFY(!forms::hasEnded());
}

void TestWebLink::keyboard_neverReachesLink()
{
    auto *form = new Form2;
    QStringList focus;
    bool timedOut = false;
    testing::whileModal([form] { forms::showModal(*form); },
        [&](Form2 &f) {
            QWindow *w = f.windowHandle();
            const QList<QPair<Qt::Key, Qt::KeyboardModifiers>> keys = {
                { Qt::Key_Tab, {} },
                { Qt::Key_Tab, {} },
                { Qt::Key_Backtab, Qt::ShiftModifier },
                { Qt::Key_Down, {} },
                { Qt::Key_Right, {} },
                { Qt::Key_Up, {} },
                { Qt::Key_H, Qt::AltModifier },
                { Qt::Key_7, {} },
            };
            for (const auto &[key, mods] : keys) {
                QTest::keyClick(w, key, mods);
                QWidget *fw = QApplication::focusWidget();
                focus << (fw ? fw->objectName() : QStringLiteral("none"));
            }
            // Enter goes to the focused button: it closes, it opens nothing.
            QTest::keyClick(w, Qt::Key_Return);
        },
        &timedOut);
    QVERIFY(!timedOut);
    QCOMPARE(focus, QStringList(8, QStringLiteral("Command1")));
    QCOMPARE(waitForOpenerLog(0), QStringList());
}

QTEST_MAIN(TestWebLink)
#include "tst_weblink.moc"
