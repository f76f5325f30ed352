#include "about/form2.h"
#include "controls/commandbutton.h"
#include "controls/sstab.h"
#include "controls/statusbar.h"
#include "forms/msgbox.h"
#include "forms/system.h"
#include "modal.h"
#include "viewer/form1.h"

#include "../support/form1harness.h"

#include <QAction>
#include <QMenuBar>
#include <QScreen>
#include <QtTest>

using about::Form2;
using viewer::Form1;

namespace {

struct MainState
{
    QString panel2;
    bool onChecked = false;
    bool offChecked = false;
    bool topmost = false;
};

MainState stateOf(Form1 &f)
{
    return { f.StatusBar1->Panels().Item(2).Text(), f.FormTop_ON->isChecked(),
        f.FormTop_OFF->isChecked(), bool(f.windowHandle()->flags() & Qt::WindowStaysOnTopHint) };
}

// Records the main window's state at the moment an About window shows.
class ShowWatcher : public QObject
{
public:
    explicit ShowWatcher(Form1 *main)
        : m_main(main)
    {
        qApp->installEventFilter(this);
    }
    QList<MainState> atShow;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show && qobject_cast<Form2 *>(o))
            atShow << stateOf(*m_main);
        return false;
    }

private:
    Form1 *m_main;
};

QRect frameOf(const QWidget &w)
{
    return w.frameGeometry();
}

bool centred(const QRect &frame)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    return qAbs(frame.center().x() - screen.center().x()) <= 1
        && qAbs(frame.center().y() - screen.center().y()) <= 1;
}

} // namespace

class TestAboutCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void about_switchesModeOffBeforeShowing_data();
    void about_switchesModeOffBeforeShowing();
    void about_twice_freshAndCentredAgain();
    void about_closesAndMainTakesInputAgain_data();
    void about_closesAndMainTakesInputAgain();
    void about_mainWindowInputBlocked_data();
    void about_mainWindowInputBlocked();

private:
    void activateMain();

    testing::Form1Harness m_run;
    Form1 *m_form1 = nullptr;
};

void TestAboutCommand::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    forms::installFontSubstitutes();
}

void TestAboutCommand::init()
{
    m_form1 = m_run.make();
    QVERIFY(m_form1);
    activateMain();
}

void TestAboutCommand::cleanup()
{
    QVERIFY2(m_run.boxes.isEmpty(), qPrintable(m_run.boxes.join(u'\n')));
    m_run.form.reset();
    m_form1 = nullptr;
    QTest::qWait(0);
}

void TestAboutCommand::activateMain()
{
    m_form1->activateWindow();
    // The main window's own activation, not that of a child of it.
    QVERIFY(QTest::qWaitFor([this] { return QApplication::activeWindow() == m_form1; }));
}

void TestAboutCommand::about_switchesModeOffBeforeShowing_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("at start") << "start";
    QTest::newRow("mode on") << "on";
    QTest::newRow("after OFF") << "off";
}

void TestAboutCommand::about_switchesModeOffBeforeShowing()
{
    QFETCH(QString, before);
    if (before == "on") {
        m_form1->FormTop_ON->trigger();
        const MainState on = stateOf(*m_form1);
        QCOMPARE(on.panel2, QStringLiteral("FormTop"));
        QVERIFY(on.onChecked && !on.offChecked && on.topmost);
        activateMain();
    } else if (before == "off") {
        m_form1->FormTop_OFF->trigger();
    }
    m_form1->SSTab1->tabBar()->setCurrentIndex(1);
    const QString panel1 = m_form1->StatusBar1->Panels().Item(1).Text();

    ShowWatcher watcher(m_form1);
    MainState during;
    bool timedOut = false;
    bool returned = false;
    testing::whileModal(
        [&] {
            m_form1->About->trigger();
            returned = true;
        },
        [&](Form2 &f) {
            during = stateOf(*m_form1);
            f.Command1->click();
        },
        &timedOut);
    QVERIFY(!timedOut);
    QVERIFY(returned);

    QCOMPARE(watcher.atShow.size(), 1);
    for (const MainState &s : { watcher.atShow.first(), during, stateOf(*m_form1) }) {
        QCOMPARE(s.panel2, QString());
        QVERIFY(!s.onChecked);
        QVERIFY(s.offChecked);
        QVERIFY(!s.topmost);
    }
    QCOMPARE(m_form1->StatusBar1->Panels().Item(1).Text(), panel1);
    QCOMPARE(m_form1->SSTab1->Tab(), 1);
    QCOMPARE(m_run.ends, 0);
}

void TestAboutCommand::about_twice_freshAndCentredAgain()
{
    QPointer<Form2> first;
    QRect firstFrame, movedFrame, secondFrame;
    QString secondFocus;
    bool timedOut = false;
    testing::whileModal([&] { m_form1->About->trigger(); },
        [&](Form2 &f) {
            first = &f;
            firstFrame = frameOf(f);
            f.move(f.pos() + QPoint(90, -60));
            QTest::qWait(0);
            movedFrame = frameOf(f);
            f.Command1->click();
        },
        &timedOut);
    QVERIFY(!timedOut);
    QTRY_VERIFY(first.isNull());
    QVERIFY(centred(firstFrame));
    QVERIFY(!centred(movedFrame));

    QPointer<Form2> second;
    activateMain();
    testing::whileModal([&] { m_form1->About->trigger(); },
        [&](Form2 &f) {
            second = &f;
            secondFrame = frameOf(f);
            QWidget *fw = QApplication::focusWidget();
            secondFocus = fw ? fw->objectName() : QString();
            QTest::keyClick(f.windowHandle(), Qt::Key_Escape);
        },
        &timedOut);
    QVERIFY(!timedOut);
    QCOMPARE(secondFrame, firstFrame);
    QCOMPARE(secondFocus, QStringLiteral("Command1"));
    QTRY_VERIFY(second.isNull());
    QCOMPARE(m_run.ends, 0);
}

void TestAboutCommand::about_closesAndMainTakesInputAgain_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : testing::kCloseWays)
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestAboutCommand::about_closesAndMainTakesInputAgain()
{
    QFETCH(QString, how);
    QPointer<Form2> form;
    bool timedOut = false;
    bool returned = false;
    testing::whileModal(
        [&] {
            m_form1->About->trigger();
            returned = true;
        },
        [&](Form2 &f) {
            form = &f;
            testing::closeBy(f, how);
        },
        &timedOut);
    QVERIFY(returned);
    QVERIFY(!timedOut);
    QTRY_VERIFY(form.isNull());
    // Only the About window closed: the main window's own Cancel did not
    // end the program.
    QCOMPARE(m_run.ends, 0);
    QVERIFY(m_form1->isVisible());

    activateMain();
    QTest::keyClick(m_form1->windowHandle(), Qt::Key_F4);
    QVERIFY(m_form1->FormTop_ON->isChecked());
}

void TestAboutCommand::about_mainWindowInputBlocked_data()
{
    QTest::addColumn<QString>("input");
    // Keys belong to the active window, the About window: its Cancel takes
    // Esc, and the main window's Cancel (the end of the run) never does.
    QTest::addColumn<bool>("aboutStaysOpen");
    QTest::newRow("F4") << "F4" << true;
    QTest::newRow("Alt+H") << "Alt+H" << true;
    QTest::newRow("Esc") << "Esc" << false;
    QTest::newRow("tab click") << "tab click" << true;
    QTest::newRow("menu click") << "menu click" << true;
}

namespace {

// Sends `input` to the main window; true when it had its effect there.
bool sendToMain(Form1 &f, const QString &input, const int &ends)
{
    QWindow *w = f.windowHandle();
    if (input == "F4") {
        QTest::keyClick(w, Qt::Key_F4);
        return f.FormTop_ON->isChecked();
    }
    if (input == "Alt+H") {
        QTest::keyClick(w, Qt::Key_H, Qt::AltModifier);
        QTest::qWait(50);
        const bool opened = QApplication::activePopupWidget() || f.menuBar->activeAction();
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        return opened;
    }
    if (input == "Esc") {
        QTest::keyClick(w, Qt::Key_Escape);
        return ends > 0;
    }
    if (input == "tab click") {
        QTabBar *bar = f.SSTab1->tabBar();
        QTest::mouseClick(w, Qt::LeftButton, {}, bar->mapTo(&f, bar->tabRect(2).center()));
        return f.SSTab1->Tab() == 2;
    }
    QMenuBar *bar = f.menuBar;
    QTest::mouseClick(
        w, Qt::LeftButton, {}, bar->mapTo(&f, bar->actionGeometry(f.View->menuAction()).center()));
    QTest::qWait(50);
    const bool opened = QApplication::activePopupWidget() != nullptr;
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    return opened;
}

} // namespace

void TestAboutCommand::about_mainWindowInputBlocked()
{
    QFETCH(QString, input);
    QFETCH(bool, aboutStaysOpen);
    bool tookEffect = true;
    bool stillModal = false;
    bool timedOut = false;
    testing::whileModal([&] { m_form1->About->trigger(); },
        [&](Form2 &f) {
            QPointer<Form2> guard(&f);
            tookEffect = sendToMain(*m_form1, input, m_run.ends);
            stillModal = guard && testing::modalForm2() == guard && guard->isVisible();
            if (guard)
                guard->Command1->click();
        },
        &timedOut);
    QVERIFY(!timedOut);
    QVERIFY(!tookEffect);
    QCOMPARE(stillModal, aboutStaysOpen);
    QCOMPARE(m_run.ends, 0);
    QCOMPARE(m_form1->SSTab1->Tab(), 0);
    QVERIFY(!m_form1->FormTop_ON->isChecked());

    // The same input reaches the main window once the About window is gone.
    activateMain();
    QVERIFY(sendToMain(*m_form1, input, m_run.ends));
}

QTEST_MAIN(TestAboutCommand)
#include "tst_aboutcommand.moc"
