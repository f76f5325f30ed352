#include "viewer/form1.h"

#include "about/form2.h"
#include "assets/assets.h"

#include "controls/commandbutton.h"
#include "controls/datacontrol.h"
#include "controls/label.h"
#include "controls/picturebox.h"
#include "controls/sstab.h"
#include "controls/statusbar.h"
#include "forms/convert.h"
#include "forms/settings.h"
#include "forms/system.h"
#include "forms/twips.h"
#include "viewer/form1_design.h"
#include "viewer/formtop.h"

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QMenuBar>

namespace viewer {

namespace {
Form1 *g_instance = nullptr;

const QString kApp = QStringLiteral("Vorlane");
const QString kSection = QStringLiteral("Form1_StrtUp");
} // namespace

Form1 *Form1::instance()
{
    return g_instance;
}

Form1::Form1()
{
    g_instance = this;
    vorlane::initAssets();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(design::kCaption));
    // Fixed single frame with a minimise button but no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The PNG renderings of the program icon: they need no image plugin.
    QIcon icon(QStringLiteral(":/assets/vorlane.png"));
    for (int size : { 64, 128, 256 })
        icon.addFile(QStringLiteral(":/assets/vorlane-%1.png").arg(size));
    setWindowIcon(icon);

    buildMenus();

    QWidget *area = client();
    area->setAutoFillBackground(true);
    area->setBackgroundRole(QPalette::Button);

    // Back to front: Command1, SSTab1, Data1, StatusBar1.
    const auto &rows = design::windowControls();
    m_controls = controls::build(area, { rows.front() });
    Command1 = qobject_cast<controls::CommandButton *>(m_controls.value("Command1"));

    SSTab1 = new controls::SSTab(area);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(forms::twipsRect(0, 0, 8355, 5295));
    SSTab1->setTabHeight(forms::twipsToPixels(295));
    SSTab1->setTabs({ QStringLiteral("六角ボルト各部の寸法"),
        QStringLiteral("六角ナット各部の寸法"), QStringLiteral("穴及び座ぐり寸法（参考）") });
    SSTab1->setBackgroundRole(QPalette::Button);
    m_controls.insert(QStringLiteral("SSTab1"), SSTab1);
    m_controls = controls::build(area, { rows.begin() + 1, rows.end() }, m_controls);
    Picture1 = qobject_cast<controls::PictureBox *>(m_controls.value("Picture1"));
    Picture2 = qobject_cast<controls::PictureBox *>(m_controls.value("Picture2"));
    Picture3 = qobject_cast<controls::PictureBox *>(m_controls.value("Picture3"));
    Picture1->setPictureFile(QStringLiteral(":/assets/bolt.bmp"));
    Picture2->setPictureFile(QStringLiteral(":/assets/nut.bmp"));
    Picture3->setPictureFile(QStringLiteral(":/assets/joint.bmp"));

    Data1 = new controls::DataControl(area);
    Data1->setObjectName(QStringLiteral("Data1"));
    Data1->setGeometry(forms::twipsRect(5340, 4860, 2895, 375));
    Data1->setCaption(QStringLiteral(" 六角ボルト・ナット"));
    controls::applyFont(Data1, { QStringLiteral("ＭＳ Ｐゴシック"), 9.75, false, 128 });
    Data1->RecordSource = QStringLiteral("六角ボルト・ナット");
    m_controls.insert(QStringLiteral("Data1"), Data1);

    StatusBar1 = new controls::StatusBar(area);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(forms::twipsRect(0, 5295, 8385, 315));
    StatusBar1->addPanel(forms::twipsToPixels(7120));
    StatusBar1->addPanel(forms::twipsToPixels(1200), Qt::AlignHCenter);
    m_controls.insert(QStringLiteral("StatusBar1"), StatusBar1);

    m_controls = controls::build(area, design::pageLabels(), m_controls);

    // The size lines lie on the tab control, beneath the drawing boxes.
    for (int tab = 0; tab < 3; ++tab)
        for (const auto &c : SSTab1->controlsOf(tab))
            if (c && !qobject_cast<controls::PictureBox *>(c.data()))
                c->lower();
    // Data1 and the status bar stand in front of the tab control.
    Data1->raise();
    StatusBar1->raise();

    // The controls that can hold the focus: Command1, SSTab1, then Picture3
    // while tab 2 is current.
    setTabOrder(Command1, SSTab1);
    setTabOrder(SSTab1, Picture3);

    connect(Command1, &QPushButton::clicked, this,
        [this] { forms::dispatch("Command1_Click", [this] { Command1_Click(); }); });
    connect(SSTab1, &controls::SSTab::Click, this, [this](int previous) {
        forms::dispatch("SSTab1_Click", [this, previous] { SSTab1_Click(qint16(previous)); });
    });

    setFixedClientSizeTwips(design::kClientWidth, design::kClientHeight);
    // The initial position: the outer top-left corner at the screen's.
    move(0, 0);
}

Form1::~Form1()
{
    if (g_instance == this)
        g_instance = nullptr;
}

controls::Label *Form1::label(const QString &key) const
{
    return qobject_cast<controls::Label *>(m_controls.value(key));
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

    // The working directory only, joined with this platform's separator.
    // Where its full name is of no use CurDir gives ".", so the name stays
    // relative to the folder itself and never falls to the root's file.
    Data1->DatabaseName = forms::CurDir() + QDir::separator() + QStringLiteral("vorlane.mdb");
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
