// Start-up and window position: Form_Load restores the stored place one
// coordinate at a time, survives stored texts that do not convert and places
// that no screen shows, names the database in the working directory (also
// one without a usable full name); the place is saved at every unload and
// never at an end at once.
#include "../support/form1harness.h"
#include "../support/logcapture.h"

#include "controls/commandbutton.h"
#include "controls/datacontrol.h"
#include "controls/label.h"
#include "controls/picturebox.h"
#include "controls/sstab.h"
#include "controls/statusbar.h"
#include "forms/convert.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QScreen>
#include <QToolButton>

#include <sys/stat.h>
#include <unistd.h>

using testing::Form1Harness;
using viewer::Form1;

using OptText = std::optional<QString>;
Q_DECLARE_METATYPE(OptText)

namespace {
const OptText absent = std::nullopt;

// Working directories whose full name cannot serve to open a file in them.
enum class Folder { Deleted, Deep, NotUtf8 };
// 20 levels of it make a name past PATH_MAX; one level is within NAME_MAX.
const QString deepName = QString(200, u'd');
constexpr int deepLevels = 20;
const char notUtf8[] = "caf\xe9";

// Enters such a folder below the current one, by relative steps, as the
// long one cannot be entered by its full name.
bool enter(Folder folder)
{
    switch (folder) {
    case Folder::Deleted:
        return ::mkdir("gone", 0700) == 0 && ::chdir("gone") == 0 && ::rmdir("../gone") == 0;
    case Folder::Deep:
        for (int i = 0; i < deepLevels; ++i) {
            const QByteArray name = deepName.toLatin1();
            if (::mkdir(name.constData(), 0700) != 0 || ::chdir(name.constData()) != 0)
                return false;
        }
        return true;
    case Folder::NotUtf8:
        return ::mkdir(notUtf8, 0700) == 0 && ::chdir(notUtf8) == 0;
    }
    return false;
}

// Removes what enter() made, climbing back out, and returns to `top`.
void leave(Folder folder, const QString &top)
{
    ::unlink("vorlane.mdb");
    if (folder == Folder::Deep) {
        for (int i = 0; i < deepLevels && ::chdir("..") == 0; ++i)
            ::rmdir(deepName.toLatin1().constData());
    } else if (folder == Folder::NotUtf8 && ::chdir("..") == 0) {
        ::rmdir(notUtf8);
    }
    QDir::setCurrent(top);
}

// Copies `from` to vorlane.mdb in the working directory, named relatively.
bool copyHere(const QString &from)
{
    QFile in(from);
    QFile out(QStringLiteral("vorlane.mdb"));
    return in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)
        && out.write(in.readAll()) == in.size();
}

OptText text(const char *s)
{
    return QString::fromUtf8(s);
}
} // namespace

class TstForm1Startup : public QObject
{
    Q_OBJECT

private slots:
    void restorePosition_data()
    {
        QTest::addColumn<OptText>("x1");
        QTest::addColumn<OptText>("y1");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");

        QTest::newRow("no entry") << absent << absent << 0.0f << 0.0f;
        QTest::newRow("both") << text("3000") << text("1500") << 3000.0f << 1500.0f;
        QTest::newRow("X1 only") << text("3000") << absent << 3000.0f << 0.0f;
        QTest::newRow("Y1 only") << absent << text("1500") << 0.0f << 1500.0f;
        QTest::newRow("fractions") << text("1234.5") << text("-7.25") << 1234.5f << -7.25f;
        QTest::newRow("exponent") << text("1.5E+3") << text("3e2") << 1500.0f << 300.0f;
        QTest::newRow("partly off screen")
            << text("-3000") << text("-1500") << -3000.0f << -1500.0f;
        // Texts that do not convert keep that coordinate where it was.
        QTest::newRow("X1 letters") << text("abc") << text("1500") << 0.0f << 1500.0f;
        QTest::newRow("X1 empty") << text("") << text("1500") << 0.0f << 1500.0f;
        QTest::newRow("Y1 beyond single") << text("3000") << text("1E+39") << 3000.0f << 0.0f;
        QTest::newRow("both bad") << text("x") << text("") << 0.0f << 0.0f;
        // Wholly off every screen: the initial place.
        QTest::newRow("far left") << text("-100000") << text("1500") << 0.0f << 0.0f;
        QTest::newRow("far right") << text("1000000") << text("0") << 0.0f << 0.0f;
        QTest::newRow("far above") << absent << text("-60000") << 0.0f << 0.0f;
    }
    void restorePosition()
    {
        QFETCH(OptText, x1);
        QFETCH(OptText, y1);
        QFETCH(float, left);
        QFETCH(float, top);

        Form1Harness run;
        run.store(x1, y1);
        Form1 form;
        float shownLeft = -1, shownTop = -1;
        QPoint shownPos;
        QString panel1, panel2;
        run.run(form, [&] {
            shownLeft = form.Left();
            shownTop = form.Top();
            shownPos = form.pos();
            panel1 = form.StatusBar1->Panels().Item(1).Text();
            panel2 = form.StatusBar1->Panels().Item(2).Text();
            form.close();
        });
        QVERIFY(!run.fellBack);
        QVERIFY(run.errorReports().isEmpty());
        QCOMPARE(run.ends, 0);
        QCOMPARE(shownLeft, left);
        QCOMPARE(shownTop, top);
        QCOMPARE(shownPos, QPoint(qRound(left / 15), qRound(top / 15)));
        // The rest of Form_Load ran as well.
        QCOMPARE(panel1, viewer::status::boltText);
        QCOMPARE(panel2, QString());

        // The unload writes the place it had, texts that read back.
        QCOMPARE(run.stored("X1"), OptText(forms::CStr(left)));
        QCOMPARE(run.stored("Y1"), OptText(forms::CStr(top)));
        QCOMPARE(forms::CSng(*run.stored("X1")), left);
        QCOMPARE(forms::CSng(*run.stored("Y1")), top);
    }

    void unload_savesWherever_theWindowWasMoved_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("close box") << 0;
        QTest::newRow("close from outside") << 1;
    }
    void unload_savesWherever_theWindowWasMoved()
    {
        QFETCH(int, how);
        Form1Harness run;
        run.store(text("3000"), text("1500"));
        Form1 form;
        run.run(form, [&] {
            form.move(123, 45);
            if (how == 0)
                form.close();
            else
                forms::unloadAll();
        });
        QVERIFY(!run.fellBack);
        QCOMPARE(run.ends, 0);
        QVERIFY(!form.isLoaded());
        QCOMPARE(run.stored("X1"), text("1845"));
        QCOMPARE(run.stored("Y1"), text("675"));
    }

    void databaseName_isInWorkingDirectory_data()
    {
        QTest::addColumn<QString>("subdir"); // below the run's working directory
        QTest::addColumn<bool>("root");
        QTest::newRow("working directory") << QString() << false;
        QTest::newRow("backslash and blank in name") << "a\\b c" << false;
        QTest::newRow("root") << QString() << true;
    }
    void databaseName_isInWorkingDirectory()
    {
        QFETCH(QString, subdir);
        QFETCH(bool, root);
        Form1Harness run;
        QString dir = run.workDir();
        if (!subdir.isEmpty()) {
            QVERIFY(QDir(dir).mkdir(subdir));
            dir += u'/' + subdir;
        }
        if (root)
            dir = QStringLiteral("/");
        QVERIFY(QDir::setCurrent(dir));
        // A database beside the program is not looked at.
        Form1 form;
        QString name;
        run.run(form, [&] {
            name = form.Data1->DatabaseName;
            form.close();
        });
        if (root)
            QCOMPARE(name, QStringLiteral("//vorlane.mdb"));
        else
            QCOMPARE(name, dir + QStringLiteral("/vorlane.mdb"));
        QVERIFY(name != QCoreApplication::applicationDirPath() + QStringLiteral("/vorlane.mdb"));
    }

    // A working directory without a usable full name: the database is
    // looked up relative to it, so the file opens wherever it is there,
    // and a missing one is reported without ever naming the root's file.
    void databaseName_folderWithoutUsableName_data()
    {
        QTest::addColumn<int>("folder");
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<QString>("inMessage"); // empty: the file opens
        const QString notFound = QStringLiteral("' が見つかりません");
        QTest::newRow("deleted") << int(Folder::Deleted) << false
                                 << QStringLiteral(
                                        "'vorlane.mdb' が現在のフォルダーに見つかりません");
        QTest::newRow("past PATH_MAX, file there") << int(Folder::Deep) << true << QString();
        QTest::newRow("past PATH_MAX, no file")
            << int(Folder::Deep) << false << deepName + QStringLiteral("/vorlane.mdb") + notFound;
        QTest::newRow("not UTF-8, file there") << int(Folder::NotUtf8) << true << QString();
        QTest::newRow("not UTF-8, no file")
            << int(Folder::NotUtf8) << false << QStringLiteral("/caf\uFFFD/vorlane.mdb") + notFound;
    }
    void databaseName_folderWithoutUsableName()
    {
        QFETCH(int, folder);
        QFETCH(bool, withFile);
        QFETCH(QString, inMessage);
        Form1Harness run;
        const auto here = enter(Folder(folder));
        QVERIFY(here);
        if (withFile)
            QVERIFY(copyHere(QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb")));
        auto cleanUp = qScopeGuard([&] { leave(Folder(folder), run.workDir()); });

        Form1 form;
        run.run(form, [&] {
            QCOMPARE(form.Data1->DatabaseName, QStringLiteral("./vorlane.mdb"));
            if (withFile)
                QTRY_COMPARE(form.Data1->state(), controls::DataControl::State::Open);
            else
                QTRY_COMPARE(run.boxes.size(), 1);
            form.close();
        });
        QVERIFY(!run.fellBack);
        if (inMessage.isEmpty()) {
            QVERIFY2(run.boxes.isEmpty(), qPrintable(run.boxes.join(u'\n')));
            QCOMPARE(form.label(QStringLiteral("Label10"))->text(), QStringLiteral("M3"));
        } else {
            QCOMPARE(run.boxes.size(), 1);
            QVERIFY2(run.boxes.first().contains(inMessage), qPrintable(run.boxes.first()));
            QVERIFY(!run.boxes.first().contains(QStringLiteral("'/vorlane.mdb'")));
        }
    }

    // The read started before the window is built asks for what Data1 will
    // ask, so Data1 takes it over rather than reading the table again.
    void normalStart_dataControlTakesOverTheEarlyRead()
    {
        Form1Harness run;
        QVERIFY(copyHere(QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb")));
        QLoggingCategory::setFilterRules(QStringLiteral("vorlane.controls.debug=true"));
        auto rules = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        LogCapture log;
        Form1 form;
        run.run(form, [&] {
            QTRY_COMPARE(form.Data1->state(), controls::DataControl::State::Open);
            form.close();
        });
        QVERIFY2(run.boxes.isEmpty(), qPrintable(run.boxes.join(u'\n')));
        QCOMPARE(log.messages(QStringLiteral("vorlane.controls"), QtDebugMsg),
            QStringList(QStringLiteral("\"Data1\" takes over the read started early")));
    }

    // Esc, Enter and Space end the run at once right after start: the hidden
    // Cancel button holds the focus. Nothing is written.
    void keysRightAfterStart_endAtOnce_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("clickNavigationFirst");
        QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter") << int(Qt::Key_Return) << false;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << false;
        QTest::newRow("Space") << int(Qt::Key_Space) << false;
        QTest::newRow("Enter after navigation click") << int(Qt::Key_Return) << true;
    }
    void keysRightAfterStart_endAtOnce()
    {
        QFETCH(int, key);
        QFETCH(bool, clickNavigationFirst);
        Form1Harness run;
        run.store(text("3000"), text("1500"));
        const QByteArray before = run.storeBytes();
        Form1 form;
        QWidget *focusAtKey = nullptr;
        run.run(form, [&] {
            form.move(300, 200);
            if (clickNavigationFirst)
                QTest::mouseClick(form.Data1->button(2), Qt::LeftButton);
            focusAtKey = QApplication::focusWidget();
            QTest::keyClick(focusAtKey, Qt::Key(key));
        });
        QVERIFY(!run.fellBack);
        QCOMPARE(focusAtKey, form.Command1);
        QCOMPARE(run.ends, 1);
        QVERIFY(!form.isVisible());
        QCOMPARE(run.storeBytes(), before);
        QVERIFY(run.errorReports().isEmpty());
    }

    // Once the focus is elsewhere Enter and Space do nothing; Esc still ends
    // the run, and still saves nothing.
    void focusMoved_onlyEscEnds_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Tab key") << 0;
        QTest::newRow("click on a tab") << 1;
        QTest::newRow("drawing box of tab 2") << 2;
    }
    void focusMoved_onlyEscEnds()
    {
        QFETCH(int, how);
        Form1Harness run;
        Form1 form;
        int endsBeforeEsc = -1;
        bool loadedBeforeEsc = false;
        run.run(form, [&] {
            QTabBar *bar = form.SSTab1->tabBar();
            if (how == 0) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } else {
                const int tab = how == 1 ? 1 : 2;
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
                if (how == 2)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QWidget *expected = how == 2 ? static_cast<QWidget *>(form.Picture3) : bar;
            QCOMPARE(QApplication::focusWidget(), expected);
            QTest::keyClick(expected, Qt::Key_Return);
            QTest::keyClick(expected, Qt::Key_Enter);
            QTest::keyClick(expected, Qt::Key_Space);
            endsBeforeEsc = run.ends;
            loadedBeforeEsc = form.isLoaded() && form.isVisible();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        QVERIFY(!run.fellBack);
        QCOMPARE(endsBeforeEsc, 0);
        QVERIFY(loadedBeforeEsc);
        QCOMPARE(run.ends, 1);
        QVERIFY(!QFile::exists(run.storePath()));
    }

    // A write that the store refuses in Form_Unload is the runtime's report
    // and ends the run; "Y1" is not attempted after a failed "X1".
    void unloadWriteRefused_isReported_andEndsRun()
    {
        Form1Harness run;
        Form1 form;
        run.run(form, [&] {
            // Put a file where the store's folder should be.
            QFile blocker(QFileInfo(run.storePath()).absolutePath());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            blocker.close();
            form.close();
        });
        QVERIFY(!run.fellBack);
        QCOMPARE(run.errorReports().size(), 1);
        QVERIFY(run.errorReports().first().contains(QStringLiteral("75")));
        QCOMPARE(run.ends, 1);
    }
};

QTEST_MAIN(TstForm1Startup)
#include "tst_form1startup.moc"
