#include "about/form2.h"

#include "about/excurl.h"
#include "about/form2_design.h"
#include "controls/commandbutton.h"
#include "controls/label.h"
#include "forms/system.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace about {

namespace {

// Marks a window that is not mapped yet as one without a task-bar button.
// Qt keeps states found on the window when it maps it.
void skipTaskbar(QWidget *window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto atom = [c](const char *name) -> xcb_atom_t {
        const auto cookie = xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return a;
    };
    const xcb_atom_t state = atom("_NET_WM_STATE");
    const xcb_atom_t skip = atom("_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE)
        return;
    xcb_change_property(
        c, XCB_PROP_MODE_APPEND, xcb_window_t(window->winId()), state, XCB_ATOM_ATOM, 32, 1, &skip);
    xcb_flush(c);
}

// The frame the window manager is expected to put around the window: the
// one it put around the owner, as long as this one has none yet.
QMargins expectedFrame(const QWidget *window)
{
    const QMargins own
        = window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    if (!own.isNull())
        return own;
    const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (owner && owner->isVisible() && owner->windowHandle())
        return owner->windowHandle()->frameMargins();
    return {};
}

} // namespace

Form2::Form2(QWidget *owner)
    : forms::Form(owner)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose, true);
    setWindowTitle(QString::fromUtf8(design::kCaption));
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

    m_controls = controls::build(area, design::controls());
    Command1 = qobject_cast<controls::CommandButton *>(m_controls.value("Command1"));

    connect(Command1, &QPushButton::clicked, this,
        [this] { forms::dispatch("Command1_Click", [this] { Command1_Click(); }); });
    connect(Label13(7), &controls::Label::clicked, this,
        [this] { forms::dispatch("Label13_Click", [this] { Label13_Click(7); }); });

    setFixedClientSizeTwips(design::kClientWidth, design::kClientHeight);
}

controls::Label *Form2::Label13(qint16 index) const
{
    auto *member
        = qobject_cast<controls::Label *>(m_controls.value(controls::controlKey("Label13", index)));
    if (!member)
        throw forms::RuntimeError(
            340, QStringLiteral("コントロール配列の要素 '%1' は存在しません。").arg(index));
    return member;
}

void Form2::showEvent(QShowEvent *event)
{
    // Still unmapped here: the place and the task-bar state are read by
    // the window manager when the window maps.
    skipTaskbar(this);
    centreOnScreen();
    forms::Form::showEvent(event);
    Command1->setFocus(Qt::OtherFocusReason);
    // The window being shown takes the input, whatever the window
    // manager's focus rules for new windows; asked once it is visible.
    QMetaObject::invokeMethod(this, &QWidget::activateWindow, Qt::QueuedConnection);
}

void Form2::centreOnScreen()
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    const QMargins frame = expectedFrame(this);
    const QSize outer = size().grownBy(frame);
    // The frame centred; placed by its client area, which is what Qt
    // hands the window manager before the frame exists.
    const QPoint client(area.x() + (area.width() - outer.width()) / 2 + frame.left(),
        area.y() + (area.height() - outer.height()) / 2 + frame.top());
    setGeometry(QRect(client, size()));
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
