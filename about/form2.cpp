#include "about/form2.h"

#include "about/excurl.h"
#include "about/form2_design.h"
#include "controls/commandbutton.h"
#include "controls/formlabel.h"
#include "forms/system.h"

#include <QPixmap>

namespace about {

Form2::Form2(QWidget *owner)
    : forms::Form(owner)
{
    const design::Window &designed = layout::form2();
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose, true);
    setWindowTitle(designed.caption);
    // Fixed dialog frame: caption and close box, no minimise, no maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // The title bar shows no icon: a blank one keeps the window manager
    // from drawing a default of its own.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    setWindowIcon(QIcon(blank));

    QWidget *area = client();
    area->setAutoFillBackground(true);
    area->setBackgroundRole(QPalette::Button);

    m_controls = controls::build(*this, designed);
    Command1 = m_controls.get<controls::CommandButton>("Command1");

    connect(Command1, &QPushButton::clicked, this,
        [this] { forms::dispatch("Command1_Click", [this] { Command1_Click(); }); });
    connect(Label13(7), &controls::FormLabel::clicked, this,
        [this] { forms::dispatch("Label13_Click", [this] { Label13_Click(7); }); });

    setFixedClientSizeTwips(designed.clientWidth, designed.clientHeight);
    setShowInTaskbar(false);
    setStartUpPosition(forms::StartUpPosition::CenterScreen);
}

controls::FormLabel *Form2::Label13(qint16 index) const
{
    auto *member = m_controls.get<controls::FormLabel>(design::key("Label13", index));
    if (!member)
        throw forms::RuntimeError(
            340, QStringLiteral("コントロール配列の要素 '%1' は存在しません。").arg(index));
    return member;
}

void Form2::showEvent(QShowEvent *event)
{
    forms::Form::showEvent(event);
    Command1->setFocus(Qt::OtherFocusReason);
    // The window being shown takes the input, whatever the window
    // manager's focus rules for new windows; asked once it is visible.
    QMetaObject::invokeMethod(this, &QWidget::activateWindow, Qt::QueuedConnection);
}

void Form2::Command1_Click()
{
    forms::unload(*this);
}

void Form2::Label13_Click(qint16 Index)
{
    Q_UNUSED(Index);
    const std::int32_t desktop = forms::callDeclared([] { return ExcURL::GetDesktopWindow(); });
    const QString caption = Label13(7)->text();
    const QByteArray directory = forms::toAnsi(QString());
    const QByteArray file = forms::toAnsi(caption);
    const QByteArray verb = forms::toAnsi(QStringLiteral("open"));
    // The result is not looked at: whatever the opener reports is its own.
    forms::callDeclared([&] {
        return ExcURL::ShellExecuteA(
            desktop, verb.constData(), file.constData(), nullptr, directory.constData(), 5);
    });
}

} // namespace about
