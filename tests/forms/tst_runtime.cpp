// The form runtime: start, unload, end at once, modal show, the close from
// outside, and the one dispatch point that reports a run-time error and ends
// the run without unload events.
#include "forms/msgbox.h"
#include "forms/runtime.h"

#include "../support/logcapture.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <stdexcept>

using namespace forms;

namespace {

class TestForm : public Form
{
public:
    int loads = 0;
    int unloads = 0;
    bool everShown = false;
    qint16 cancelWith = 0;
    std::function<void()> onLoad;

    void Form_Load() override
    {
        ++loads;
        if (onLoad)
            onLoad();
    }
    void Form_Unload(qint16 &Cancel) override
    {
        ++unloads;
        Cancel = cancelWith;
    }

protected:
    void showEvent(QShowEvent *e) override
    {
        everShown = true;
        Form::showEvent(e);
    }
};

// Runs `body` once the event loop of start() runs. Should the body leave the
// run going, a fall-back ends the loop so that a fault fails, not hangs.
int startAndRun(Form &form, std::function<void()> body, bool *fellBack = nullptr)
{
    QTimer::singleShot(0, &form, std::move(body));
    QTimer fallBack;
    fallBack.setSingleShot(true);
    QObject::connect(&fallBack, &QTimer::timeout, [fellBack] {
        if (fellBack)
            *fellBack = true;
        QCoreApplication::exit(0);
    });
    fallBack.start(5000);
    return start(form);
}

} // namespace

class TstRuntime : public QObject
{
    Q_OBJECT

    int m_ends = 0;
    QList<MsgBoxCall> m_boxes;

private slots:
    void init()
    {
        m_ends = 0;
        m_boxes.clear();
        resetForTests();
        setEndHook([this] { ++m_ends; });
        setMsgBoxHook([this](const MsgBoxCall &c) {
            m_boxes << c;
            return int(vbOK);
        });
    }

    void start_runsFormLoadHidden_thenShows()
    {
        TestForm form;
        bool visibleDuringLoad = true;
        form.onLoad = [&] { visibleDuringLoad = form.isVisible(); };
        bool shownInLoop = false;
        bool fellBack = false;
        startAndRun(
            form,
            [&] {
                shownInLoop = form.isVisible() && form.isLoaded();
                form.close();
            },
            &fellBack);
        QVERIFY(!fellBack);
        QCOMPARE(form.loads, 1);
        QVERIFY(!visibleDuringLoad);
        QVERIFY(shownInLoop);
    }

    void closeBox_runsFormUnload_andEndsRun()
    {
        TestForm form;
        bool fellBack = false;
        startAndRun(
            form, [&] { form.close(); }, &fellBack);
        QVERIFY(!fellBack);
        QCOMPARE(form.unloads, 1);
        QVERIFY(!form.isLoaded());
        QVERIFY(!form.isVisible());
        QCOMPARE(m_ends, 0);
    }

    void unloadCancelled_keepsWindowLoaded()
    {
        TestForm form;
        form.cancelWith = 1;
        bool stillThere = false;
        startAndRun(form, [&] {
            form.close();
            stillThere = form.isLoaded() && form.isVisible();
            form.cancelWith = 0;
            form.close();
        });
        QVERIFY(stillThere);
        QCOMPARE(form.unloads, 2);
        QVERIFY(!form.isLoaded());
    }

    void end_runsNoFurtherProcedure()
    {
        TestForm form;
        bool after = false;
        bool fellBack = false;
        startAndRun(
            form,
            [&] {
                dispatch("Command1_Click", [] { end(); });
                dispatch("Other_Click", [&] { after = true; });
                form.close();
            },
            &fellBack);
        QVERIFY(!fellBack);
        QCOMPARE(m_ends, 1);
        QVERIFY(hasEnded());
        QCOMPARE(form.unloads, 0);
        QVERIFY(!after);
        QVERIFY(!form.isVisible());
        QVERIFY(m_boxes.isEmpty());
    }

    void errorInEventProcedure_isReported_andEndsWithoutUnload_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("control error") << 0 << 35600 << "インデックスが有効範囲にありません。";
        QTest::newRow("overflow") << 1 << 6 << "オーバーフローしました。";
        QTest::newRow("other exception") << 2 << 51 << "内部エラーです。";
    }
    void errorInEventProcedure_isReported_andEndsWithoutUnload()
    {
        QFETCH(int, kind);
        QFETCH(int, number);
        QFETCH(QString, description);
        TestForm form;
        bool restOfProcedure = false;
        bool after = false;
        bool fellBack = false;
        LogCapture log;
        startAndRun(
            form,
            [&] {
                dispatch("SSTab1_Click", [&] {
                    if (kind == 0)
                        throw RuntimeError(
                            35600, QStringLiteral("インデックスが有効範囲にありません。"));
                    if (kind == 1)
                        throw RuntimeError::overflow();
                    throw std::runtime_error("boom");
                    restOfProcedure = true;
                });
                dispatch("Other_Click", [&] { after = true; });
                form.close();
            },
            &fellBack);
        QVERIFY(!fellBack);
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY(m_boxes[0].prompt.contains(QString::number(number)));
        QVERIFY(m_boxes[0].prompt.contains(description));
        QVERIFY(m_boxes[0].style & vbCritical);
        // The log names the procedure, which the box does not.
        const QStringList warnings = log.warnings("vorlane.forms");
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings[0].contains("SSTab1_Click"), qPrintable(warnings[0]));
        QVERIFY2(warnings[0].contains(QString::number(number)), qPrintable(warnings[0]));
        QCOMPARE(m_ends, 1);
        QCOMPARE(form.unloads, 0);
        QVERIFY(!restOfProcedure);
        QVERIFY(!after);
    }

    void errorInFormLoad_endsBeforeShow()
    {
        TestForm form;
        form.onLoad = [] { throw RuntimeError::typeMismatch(); };
        bool loopRan = false;
        startAndRun(form, [&] { loopRan = true; });
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY(m_boxes[0].prompt.contains(QStringLiteral("13")));
        QCOMPARE(m_ends, 1);
        QVERIFY(!form.everShown);
        QVERIFY(!loopRan); // start() returned without running the event loop
        QCOMPARE(form.unloads, 0);
    }

    void showModal_returnsWhenUnloaded()
    {
        TestForm main;
        bool modalSeen = false;
        bool returned = false;
        int modalUnloads = -1;
        startAndRun(main, [&] {
            auto *modal = new TestForm;
            modal->setAttribute(Qt::WA_DeleteOnClose);
            QTimer::singleShot(0, modal, [&, modal] {
                modalSeen = modal->isVisible() && modal->windowModality() == Qt::ApplicationModal;
                modalUnloads = 0;
                QObject::connect(modal, &QObject::destroyed, [&] { modalUnloads = 1; });
                modal->close();
            });
            showModal(*modal);
            returned = true;
            QVERIFY(main.isLoaded());
            main.close();
        });
        QVERIFY(modalSeen);
        QVERIFY(returned);
        QCOMPARE(main.unloads, 1);
        QTRY_COMPARE(modalUnloads, 1); // deleted once unloaded
    }

    // Also a signal that comes before the main loop runs, while Form_Load
    // is still at work.
    void signal_unloadsLikeCloseFromOutside_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("inFormLoad");
        QTest::newRow("SIGTERM") << SIGTERM << false;
        QTest::newRow("SIGHUP") << SIGHUP << false;
        QTest::newRow("SIGTERM in Form_Load") << SIGTERM << true;
        QTest::newRow("SIGHUP in Form_Load") << SIGHUP << true;
    }
    void signal_unloadsLikeCloseFromOutside()
    {
        QFETCH(int, signal);
        QFETCH(bool, inFormLoad);
        installCloseFromOutside();
        TestForm form;
        if (inFormLoad)
            form.onLoad = [signal] { ::raise(signal); };
        bool fellBack = false;
        startAndRun(
            form,
            [signal, inFormLoad] {
                if (!inFormLoad)
                    ::raise(signal);
            },
            &fellBack);
        QVERIFY(!fellBack);
        QCOMPARE(form.unloads, 1);
        QVERIFY(!form.isLoaded());
        QCOMPARE(m_ends, 0);
    }

    // A message box that the window opens on its own right after Form_Load
    // (the data control's error) runs its own loop before the main one. A
    // close from outside meanwhile must still end the run.
    void closeFromOutside_whileBoxBeforeMainLoop_endsRun()
    {
        installCloseFromOutside();
        TestForm form;
        bool boxLoopEnded = false;
        bool boxTimedOut = false;
        QObject::connect(&form, &Form::loadCompleted, &form, [&] {
            // The data control's box is a message box: a dialog of its own loop.
            QDialog box;
            QTimer::singleShot(0, [] { ::raise(SIGTERM); });
            QTimer::singleShot(5000, &box, [&] {
                boxTimedOut = true;
                box.done(1);
            });
            box.exec();
            boxLoopEnded = true;
        });
        bool fellBack = false;
        startAndRun(
            form, [] {}, &fellBack);
        QCOMPARE(form.unloads, 1);
        QVERIFY(boxLoopEnded);
        QVERIFY(!boxTimedOut);
        QVERIFY(!fellBack); // the main loop did not run on with nothing loaded
    }

    void isOnAnyScreen_data()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<bool>("onScreen");
        QTest::newRow("inside") << QRect(10, 10, 559, 393) << true;
        QTest::newRow("partly left") << QRect(-500, 10, 559, 393) << true;
        QTest::newRow("partly below") << QRect(10, screen.bottom() - 5, 559, 393) << true;
        QTest::newRow("wholly left") << QRect(-600, 10, 559, 393) << false;
        QTest::newRow("wholly above") << QRect(10, -400, 559, 393) << false;
        QTest::newRow("wholly right") << QRect(screen.right() + 1, 10, 559, 393) << false;
        QTest::newRow("far off") << QRect(-100000, -100000, 559, 393) << false;
    }
    void isOnAnyScreen()
    {
        QFETCH(QRect, frame);
        QFETCH(bool, onScreen);
        QCOMPARE(forms::isOnAnyScreen(frame), onScreen);
    }
};

QTEST_MAIN(TstRuntime)
#include "tst_runtime.moc"
