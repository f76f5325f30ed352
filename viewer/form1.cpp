#include "viewer/form1.h"

#include "about/form2.h"
#include "assets/assets.h"

#include "controls/commandbutton.h"
#include "controls/datacontrol.h"
#include "controls/menucheck.h"
#include "controls/picturebox.h"
#include "controls/sstab.h"
#include "controls/statusbar.h"
#include "forms/convert.h"
#include "forms/firstpaint.h"
#include "forms/picture.h"
#include "forms/settings.h"
#include "forms/system.h"
#include "viewer/formtop.h"
#include "viewer/layout/form1_design.h"

#include "jet/engine.h"

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QMenuBar>

#include <algorithm>
#include <memory>

namespace viewer {

namespace {
const QString kApp = QStringLiteral("Vorlane");
const QString kSection = QStringLiteral("Form1_StrtUp");
const QString kData = QStringLiteral("Data1");

// The working directory only, joined with this platform's separator. Where
// its full name is of no use CurDir gives ".", so the name stays relative to
// the folder itself and never falls to the root's file.
QString databaseName()
{
    return forms::CurDir() + QDir::separator() + QStringLiteral("vorlane.mdb");
}

// Data1's read as Form_Load will name it, started before the window is
// built: the reader then runs while the window is made and mapped.
std::unique_ptr<jet::TableRead> startEarlyRead(const design::Window &designed)
{
    const auto row = std::find_if(designed.rows.begin(), designed.rows.end(),
        [](const design::Row &r) { return r.name == kData; });
    if (row == designed.rows.end())
        return nullptr;
    auto read = std::make_unique<jet::TableRead>(
        databaseName(), row->recordSource, design::boundFields(designed, kData));
    read->start();
    return read;
}
} // namespace

Form1::Form1()
{
    const design::Window &designed = layout::form1();
    // Data1 takes this read over when it opens, unless Form_Load has named
    // something else; then the read ends there and Data1 starts its own.
    std::unique_ptr<jet::TableRead> early = startEarlyRead(designed);
    vorlane::initAssets();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(designed.caption);
    // Fixed single frame with a minimise button but no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The PNG renderings of the program icon. Title bar and task bar take
    // the 32 and 64 px ones; the larger ones (task switchers) are read and
    // sent once the window is on screen.
    const auto addIcon = [](QIcon &icon, const char *file) {
        icon.addPixmap(QPixmap::fromImage(
            forms::LoadPicture(QStringLiteral(":/assets/") + QLatin1String(file))));
    };
    QIcon icon;
    addIcon(icon, "vorlane.png");
    addIcon(icon, "vorlane-64.png");
    setWindowIcon(icon);
    forms::afterFirstPaint(this, [this, addIcon] {
        QIcon full = windowIcon();
        addIcon(full, "vorlane-128.png");
        addIcon(full, "vorlane-256.png");
        setWindowIcon(full);
    });

    buildMenus();

    QWidget *area = client();
    area->setAutoFillBackground(true);
    area->setBackgroundRole(QPalette::Button);

    m_controls = controls::build(*this, designed);
    Command1 = m_controls.get<controls::CommandButton>("Command1");
    SSTab1 = m_controls.get<controls::SSTab>("SSTab1");
    Picture1 = m_controls.get<controls::PictureBox>("Picture1");
    Picture2 = m_controls.get<controls::PictureBox>("Picture2");
    Picture3 = m_controls.get<controls::PictureBox>("Picture3");
    Data1 = m_controls.get<controls::DataControl>(kData);
    Data1->offerRead(std::move(early));
    StatusBar1 = m_controls.get<controls::StatusBar>("StatusBar1");

    connect(Command1, &QPushButton::clicked, this,
        [this] { forms::dispatch("Command1_Click", [this] { Command1_Click(); }); });
    connect(SSTab1, &controls::SSTab::Click, this, [this](int previous) {
        forms::dispatch("SSTab1_Click", [this, previous] { SSTab1_Click(qint16(previous)); });
    });

    // The drawing on show is decoded as soon as the window has been asked
    // for, while the window manager maps it, rather than at its first paint.
    connect(this, &forms::Form::loadCompleted, this, [this] {
        for (const controls::PictureBox *p : { Picture1, Picture2, Picture3 })
            if (p->isVisible())
                p->shownPicture();
    });

    setFixedClientSizeTwips(designed.clientWidth, designed.clientHeight);
    // The initial position: the outer top-left corner at the screen's.
    move(0, 0);
}

void Form1::buildMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setNativeMenuBar(false);
    auto leaf = [this](QMenu *menu, const char *name, const QString &caption,
                    void (Form1::*procedure)(), const char *procName) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, [this, procedure, procName] {
            forms::dispatch(procName, [=, this] { (this->*procedure)(); });
        });
        return a;
    };
    File = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    File->setObjectName(QStringLiteral("File"));
    Quit = leaf(File, "Quit", QStringLiteral("終了"), &Form1::Quit_Click, "Quit_Click");

    View = menuBar->addMenu(QStringLiteral("表示(&V)"));
    View->setObjectName(QStringLiteral("View"));
    FrontTop = View->addMenu(QStringLiteral("常に手前表示"));
    FrontTop->setObjectName(QStringLiteral("FrontTop"));
    FormTop_ON = leaf(
        FrontTop, "FormTop_ON", QStringLiteral("ON"), &Form1::FormTop_ON_Click, "FormTop_ON_Click");
    FormTop_OFF = leaf(FrontTop, "FormTop_OFF", QStringLiteral("OFF"), &Form1::FormTop_OFF_Click,
        "FormTop_OFF_Click");
    for (QAction *a : { FormTop_ON, FormTop_OFF }) {
        a->setCheckable(true);
        a->setChecked(false);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    controls::useCheckMarks(FrontTop);
    FormTop_ON->setShortcut(QKeySequence(Qt::Key_F4));
    FormTop_OFF->setShortcut(QKeySequence(Qt::Key_F5));

    Help = menuBar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    Help->setObjectName(QStringLiteral("Help"));
    About = leaf(
        Help, "About", QStringLiteral("Kantrellについて"), &Form1::About_Click, "About_Click");

    setMenuBar(menuBar);
}

void Form1::showEvent(QShowEvent *event)
{
    forms::Form::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
        Command1->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::setPanelText(qint16 panel, const QString &text)
{
    StatusBar1->Panels().Item(panel).setText(text);
}

void Form1::Form_Load()
{
    const QPoint initial = pos();

    // Each coordinate on its own, with the current value as the default. A
    // stored text that does not convert leaves that coordinate where it is,
    // and the next unload writes a good value over it.
    try {
        setLeft(forms::CSng(
            forms::GetSetting(kApp, kSection, QStringLiteral("X1"), forms::CStr(Left()))));
    } catch (const forms::RuntimeError &) {
    }
    try {
        setTop(forms::CSng(
            forms::GetSetting(kApp, kSection, QStringLiteral("Y1"), forms::CStr(Top()))));
    } catch (const forms::RuntimeError &) {
    }
    // A position that would leave the window on no screen at all opens it
    // at its initial position; partly off screen is the user's choice.
    if (!forms::isOnAnyScreen(QRect(pos(), frameGeometry().size())))
        move(initial);

    setPanelText(1, status::boltText);

    Data1->DatabaseName = databaseName();
}

void Form1::Form_Unload(qint16 &Cancel)
{
    Q_UNUSED(Cancel);
    // Copies closed at the same moment store one whole pair, never X1 of
    // one and Y1 of the other.
    const forms::SettingsLock lock(kApp);
    forms::SaveSetting(kApp, kSection, QStringLiteral("X1"), forms::CStr(Left()));
    forms::SaveSetting(kApp, kSection, QStringLiteral("Y1"), forms::CStr(Top()));
}

void Form1::Command1_Click()
{
    forms::end();
}

void Form1::SSTab1_Click(qint16 PreviousTab)
{
    Q_UNUSED(PreviousTab);
    switch (qint16(SSTab1->Tab())) {
    case 0:
        setPanelText(1, status::boltText);
        break;
    case 1:
        setPanelText(1, status::nutText);
        break;
    case 2:
        setPanelText(1, status::holeText);
        break;
    default:
        break;
    }
}

void Form1::Quit_Click()
{
    forms::end();
}

void Form1::FormTop_ON_Click()
{
    setPanelText(2, status::formTopText);
    SetFormTop(*this, 1);
    FormTop_ON->setChecked(true);
    FormTop_OFF->setChecked(false);
}

void Form1::FormTop_OFF_Click()
{
    setPanelText(2, QString());
    SetFormTop(*this, 0);
    FormTop_ON->setChecked(false);
    FormTop_OFF->setChecked(true);
}

void Form1::About_Click()
{
    setPanelText(2, QString());
    SetFormTop(*this, 0);
    FormTop_ON->setChecked(false);
    FormTop_OFF->setChecked(true);
    // A fresh window every time; it deletes itself when it is unloaded.
    auto *form2 = new about::Form2(this);
    forms::showModal(*form2);
}

} // namespace viewer
