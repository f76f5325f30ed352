// The data control: it opens once, after its window's Form_Load, without
// holding up the event loop, or takes over a read started for it earlier;
// it shows the engine's message itself when the file or table cannot be
// read, and then goes on without a recordset: the arrows do nothing and
// bound labels keep their captions.
#include "controls/datacontrol.h"
#include "controls/label.h"
#include "controls/picturebox.h"
#include "forms/msgbox.h"
#include "forms/runtime.h"

#include "../support/accessfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

#include <csignal>
#include <sys/types.h>

using controls::DataControl;
using controls::Label;

namespace {

const QString kTable = QStringLiteral("六角ボルト・ナット");

class Window : public forms::Form
{
public:
    Window()
    {
        data = new DataControl(client());
        data->RecordSource = kTable;
        connect(this, &forms::Form::loadCompleted, data, &DataControl::open);
        connect(this, &forms::Form::unloaded, data, &DataControl::stopReading);
        // The labels lie on a picture box, which draws them.
        auto *sheet = new controls::PictureBox(client());
        sheet->setGeometry(0, 30, 200, 40);
        size = new Label(sheet);
        size->setCaption(QStringLiteral("m"));
        size->setNullText(QStringLiteral("－"));
        size->bind(data, QStringLiteral("ｍ"));
        pitch = new Label(sheet);
        pitch->setCaption(QStringLiteral("ma"));
        pitch->setNullText(QStringLiteral("－"));
        pitch->bind(data, QStringLiteral("ｍａ"));
        data->setGeometry(0, 0, 200, 25);
        size->setGeometry(QRect(10, 10, 60, 20));
        pitch->setGeometry(QRect(90, 10, 60, 20));
        setFixedClientSizeTwips(3600, 1200);
    }
    DataControl *data;
    Label *size;
    Label *pitch;
    int loads = 0;
    int unloads = 0;
    QString databaseName;

protected:
    void Form_Load() override
    {
        ++loads;
        // Opening waits for Form_Load to return.
        QCOMPARE(data->state(), DataControl::State::Designed);
        data->DatabaseName = databaseName;
    }
    void Form_Unload(qint16 &) override { ++unloads; }
};

using State = DataControl::State;

// A label that is drawn as nothing but its ground.
bool blank(const Label *label)
{
    const QImage image = label->container()->grab(label->geometry()).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

// Counts the paint events a widget gets.
class PaintCount : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

// A shell script in place of the reader.
void writeScript(const QString &path, const QByteArray &body)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + body);
    f.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
}

// A reader that stops itself (SIGSTOP) at once, leaving its process id
// beside it: the engine gets no answer until it ends the reader itself.
struct StalledReader
{
    StalledReader() { writeScript(path(), "echo $$ > \"$0.pid\"\nkill -STOP $$\n"); }
    QString path() const { return dir.filePath(QStringLiteral("reader")); }
    pid_t pid() const
    {
        QFile f(path() + QStringLiteral(".pid"));
        return f.open(QIODevice::ReadOnly) ? pid_t(f.readAll().trimmed().toInt()) : 0;
    }
    static bool alive(pid_t pid) { return ::kill(pid, 0) == 0; }
    QTemporaryDir dir;
};

// The real reader behind a script that notes each run beside it.
struct CountingReader
{
    CountingReader()
    {
        writeScript(path(),
            "echo $$ >> \"$0.runs\"\nexec '" VORLANE_BINARY_DIR "/bin/vorlane-jetread' \"$@\"\n");
    }
    QString path() const { return dir.filePath(QStringLiteral("reader")); }
    qsizetype runs() const
    {
        QFile f(path() + QStringLiteral(".runs"));
        return f.open(QIODevice::ReadOnly) ? f.readAll().count('\n') : 0;
    }
    QTemporaryDir dir;
};

const QStringList kFields { QStringLiteral("ｍ"), QStringLiteral("ｍａ") };

// What an early read asks for: what the window's control will ask, but for
// the one setting the row names.
std::unique_ptr<jet::TableRead> earlyRead(const QString &differs, const QString &path,
    const QString &otherPath, const jet::ReadOptions &options)
{
    auto read = std::make_unique<jet::TableRead>(differs == "file" ? otherPath : path,
        differs == "table" ? QStringLiteral("ボルト") : kTable,
        differs == "fields" ? QStringList { QStringLiteral("ｍ") } : kFields, options);
    read->start();
    return read;
}

void clickAll(DataControl *data)
{
    for (int i : { 0, 1, 2, 3, 2, 1 })
        QTest::mouseClick(data->button(i), Qt::LeftButton);
}

} // namespace

class TstDataControl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        forms::setEndHook([] {});
        forms::setMsgBoxHook([this](const forms::MsgBoxCall &c) {
            m_boxes << c.prompt;
            return int(forms::vbOK);
        });
        const QString shipped = QStringLiteral(VORLANE_BINARY_DIR "/bin/vorlane.mdb");
        QVERIFY(QFile::exists(shipped));
        m_shipped = shipped;
    }
    void init() { m_boxes.clear(); }

    void opensOnceAfterLoad_standsOnFirstRecord()
    {
        Window w;
        w.databaseName = m_shipped;
        QVERIFY(forms::launch(w));
        QCOMPARE(w.loads, 1);
        // The answer comes through the event loop; until then the boxes
        // paint no caption that the values would replace.
        QCOMPARE(w.data->state(), State::Opening);
        QVERIFY(w.data->holdsValues());
        QVERIFY(blank(w.size));
        QTRY_COMPARE(w.data->state(), State::Open);
        QVERIFY(!w.data->holdsValues());
        QVERIFY(!blank(w.size));
        QCOMPARE(w.data->absolutePosition(), 0);
        QCOMPARE(w.size->text(), QStringLiteral("M3"));
        QCOMPARE(w.pitch->text(), QStringLiteral("－")); // no fine pitch at M3
        // A second notice opens nothing anew.
        QTest::mouseClick(w.data->button(2), Qt::LeftButton);
        emit w.loadCompleted();
        QCOMPARE(w.data->absolutePosition(), 1);
        QVERIFY(m_boxes.isEmpty());
    }

    void failedOpen_reportsOnce_andGoesOnWithoutRecord_data()
    {
        QTest::addColumn<QString>("inMessage");
        // How each bad file is made, inside a fresh folder.
        QTest::addColumn<int>("kind");
        QTest::newRow("missing file") << "見つかりません" << 0;
        QTest::newRow("a directory named vorlane.mdb") << "ファイルではない" << 1;
        QTest::newRow("an empty file") << "Access のデータベースではありません" << 2;
        QTest::newRow("a text file") << "Access のデータベースではありません" << 3;
        QTest::newRow("a database without the table") << kTable << 4;
        QTest::newRow("a table without one of the fields") << "ｍａ" << 5;
        QTest::newRow("a data page of the table zeroed") << "壊れている" << 6;
        // The shipped table, and a reader that is there but cannot be run.
        QTest::newRow("a reader that does not start") << "起動できません" << 7;
    }
    void failedOpen_reportsOnce_andGoesOnWithoutRecord()
    {
        QFETCH(QString, inMessage);
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("vorlane.mdb"));
        switch (kind) {
        case 1:
            QVERIFY(QDir().mkdir(path));
            break;
        case 2: {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            break;
        }
        case 3: {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("ｍ,ｐ\nM3,0.5\n");
            break;
        }
        case 4:
            SKIP_WITHOUT_ACCESS_FILES();
            QVERIFY(QFile::copy(accessfiles::dir() + "jet4-testUnicodeCompV2003.mdb", path));
            break;
        case 6: {
            // The table's last page: the rows before it would still read.
            QFile in(m_shipped);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QByteArray bytes = in.readAll();
            QCOMPARE(bytes.at(bytes.size() - 4096), '\x01'); // a data page
            bytes.replace(bytes.size() - 4096, 4096, QByteArray(4096, '\0'));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
            break;
        }
        default:
            break;
        }

        Window w;
        w.databaseName = path;
        if (kind == 5) {
            // The shipped table, asked for a field it lacks.
            QVERIFY(QFile::copy(m_shipped, path));
            w.pitch->bind(w.data, QStringLiteral("ｍｍ"));
            inMessage = QStringLiteral("ｍｍ");
        }
        if (kind == 7) {
            QVERIFY(QFile::copy(m_shipped, path));
            const QString reader = dir.filePath(QStringLiteral("reader"));
            writeScript(reader, "exit 0\n");
            QVERIFY(QFile::setPermissions(reader, QFile::ReadOwner));
            w.data->readOptions.readerPath = reader;
        }
        QVERIFY(forms::launch(w));
        QTRY_COMPARE(w.data->state(), State::Failed);
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY2(m_boxes.front().contains(inMessage), qPrintable(m_boxes.front()));
        if (kind != 5)
            QVERIFY2(m_boxes.front().contains(path), qPrintable(m_boxes.front()));

        clickAll(w.data);
        emit w.loadCompleted(); // nothing tries again
        QCOMPARE(w.data->absolutePosition(), -1);
        QCOMPARE(w.size->text(), QStringLiteral("m"));
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY(!forms::hasEnded()); // the program goes on
    }

    void stalledReader_windowGoesOn_closeUnloadsAndEndsReader()
    {
        StalledReader reader;
        Window w;
        PaintCount paints;
        w.installEventFilter(&paints);
        launchStalled(w, reader, std::chrono::minutes(1));
        if (QTest::currentTestFailed())
            return;
        QVERIFY(StalledReader::alive(reader.pid()));

        // The window paints while the reader is stopped, and after the
        // grace the boxes show their captions.
        QTRY_VERIFY(paints.count > 0);
        QTRY_VERIFY(!w.data->holdsValues());
        QVERIFY(!blank(w.size));
        QCOMPARE(w.size->text(), QStringLiteral("m"));
        QCOMPARE(w.data->state(), State::Opening);

        // A close from outside unloads as usual and ends the reader.
        w.close();
        QCOMPARE(w.unloads, 1);
        QVERIFY(!w.isLoaded());
        QVERIFY(!StalledReader::alive(reader.pid()));
        QCOMPARE(w.data->state(), State::Failed);
        QTest::qWait(0);
        QVERIFY(m_boxes.isEmpty());
    }

    void stalledReader_timeLimit_reportsAndEndsReader()
    {
        StalledReader reader;
        Window w;
        launchStalled(w, reader, std::chrono::milliseconds(400));
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE(w.data->state(), State::Failed);
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY2(m_boxes.front().contains(QStringLiteral("時間がかかりすぎた")),
            qPrintable(m_boxes.front()));
        QVERIFY(!StalledReader::alive(reader.pid()));
        QCOMPARE(w.size->text(), QStringLiteral("m"));
        QVERIFY(w.isLoaded());
    }

    void answeredEarlyRead_takenOverOnlyWhenItAsksTheSame_data()
    {
        QTest::addColumn<QString>("differs");
        QTest::addColumn<int>("runs");
        QTest::newRow("the same read") << "" << 1;
        QTest::newRow("Form_Load names another file") << "file" << 2;
        QTest::newRow("another table") << "table" << 2;
        QTest::newRow("other fields") << "fields" << 2;
    }
    void answeredEarlyRead_takenOverOnlyWhenItAsksTheSame()
    {
        QFETCH(QString, differs);
        QFETCH(int, runs);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("vorlane.mdb"));
        QVERIFY(QFile::copy(m_shipped, path));
        CountingReader reader;
        Window w;
        w.databaseName = path;
        w.data->readOptions.readerPath = reader.path();
        auto read = earlyRead(differs, path, m_shipped, w.data->readOptions);
        read->waitForDone();
        w.data->offerRead(std::move(read));

        QVERIFY(forms::launch(w));
        // Even an answer that is already there comes through the event loop.
        QCOMPARE(w.data->state(), State::Opening);
        QVERIFY(w.data->holdsValues());
        QTRY_COMPARE(w.data->state(), State::Open);
        QCOMPARE(w.size->text(), QStringLiteral("M3"));
        QCOMPARE(w.pitch->text(), QStringLiteral("－"));
        QCOMPARE(reader.runs(), runs);
        QVERIFY(m_boxes.isEmpty()); // a dropped read's failure reaches no one
    }

    void runningEarlyRead_takenOverOrEndedAtOpen_data()
    {
        QTest::addColumn<QString>("differs");
        QTest::newRow("the same read") << "";
        QTest::newRow("Form_Load names another file") << "file";
    }
    void runningEarlyRead_takenOverOrEndedAtOpen()
    {
        QFETCH(QString, differs);
        StalledReader reader;
        Window w;
        w.databaseName = m_shipped;
        w.data->readOptions.readerPath = reader.path();
        w.data->readOptions.timeLimit = std::chrono::minutes(1);
        QTemporaryDir other;
        const QString copy = other.filePath(QStringLiteral("vorlane.mdb"));
        QVERIFY(QFile::copy(m_shipped, copy));
        w.data->offerRead(earlyRead(differs, m_shipped, copy, w.data->readOptions));
        QTRY_VERIFY(reader.pid() > 0);
        const pid_t early = reader.pid();

        QVERIFY(forms::launch(w));
        QCOMPARE(w.data->state(), State::Opening);
        // Taken over, the reader goes on; asking for another file, it ends
        // at once and the control reads on its own.
        QCOMPARE(StalledReader::alive(early), differs.isEmpty());
        w.close();
        QVERIFY(!StalledReader::alive(early));
        QVERIFY(!StalledReader::alive(reader.pid()));
        QVERIFY(m_boxes.isEmpty());
    }

    void arrowsNeverTakeTheFocus()
    {
        Window w;
        w.databaseName = m_shipped;
        QVERIFY(forms::launch(w));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.data->button(i)->focusPolicy(), Qt::NoFocus);
        QCOMPARE(w.data->focusPolicy(), Qt::NoFocus);
    }

private:
    // Starts `w` on the shipped file with `reader` in place of the real
    // one, and waits until the reader has started.
    void launchStalled(Window &w, const StalledReader &reader, std::chrono::milliseconds limit)
    {
        w.databaseName = m_shipped;
        w.data->readOptions.readerPath = reader.path();
        w.data->readOptions.timeLimit = limit;
        QVERIFY(forms::launch(w));
        QTRY_VERIFY(reader.pid() > 0);
    }

    QStringList m_boxes;
    QString m_shipped;
};

QTEST_MAIN(TstDataControl)
#include "tst_datacontrol.moc"
