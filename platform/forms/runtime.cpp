#include "forms/runtime.h"

#include "forms/logging.h"
#include "forms/msgbox.h"

#include "design/twips.h"
#include "x11/x11.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QShowEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace forms {

namespace {

// Everything the runtime keeps between calls, in one place, so that a
// test can start it over (resetForTests).
struct State
{
    std::vector<QPointer<Form>> loaded; // in load order
    std::function<void()> endHook;
    bool ended = false;
    bool inMainLoop = false;
    std::vector<QPointer<QEventLoop>> modalLoops; // innermost last
    // Written by the signal handler, read in the event loop. Made once per
    // process, with the handlers; a reset leaves it.
    int signalPipe[2] = { -1, -1 };
};

State &state()
{
    static State s;
    return s;
}

void forget(Form *form)
{
    std::erase_if(
        state().loaded, [form](const QPointer<Form> &p) { return p.isNull() || p == form; });
}

bool anyLoaded()
{
    for (const auto &p : state().loaded)
        if (p && p->isLoaded())
            return true;
    return false;
}

// Ends the loops that run: the main one, or, before it has started, the
// modal showings and the boxes (a box that the window opened right after
// Form_Load). start() then finds nothing loaded and returns.
// QCoreApplication::exit() outside the main loop would make every later
// loop return at once, so it is kept for the main loop.
void leaveEventLoops()
{
    if (state().inMainLoop) {
        QCoreApplication::exit(0);
        return;
    }
    for (const auto &loop : state().modalLoops)
        if (loop)
            loop->exit(0);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible())
            dialog->reject();
}

void report(int number, const QString &description)
{
    MsgBox(QStringLiteral("実行時エラー '%1':\n\n%2").arg(number).arg(description),
        vbOKOnly | vbCritical);
}

// Marks a window that is not mapped yet as one without a task-bar button.
// Qt keeps states found on the window when it maps it.
void skipTaskbar(QWidget *window)
{
    xcb_connection_t *c = x11::connection();
    if (!c)
        return;
    const xcb_atom_t netWmState = x11::atom("_NET_WM_STATE");
    const xcb_atom_t skip = x11::atom("_NET_WM_STATE_SKIP_TASKBAR");
    if (netWmState == XCB_ATOM_NONE || skip == XCB_ATOM_NONE)
        return;
    xcb_change_property(c, XCB_PROP_MODE_APPEND, xcb_window_t(window->winId()), netWmState,
        XCB_ATOM_ATOM, 32, 1, &skip);
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

RuntimeError::RuntimeError(int number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_what(QStringLiteral("run-time error %1: %2").arg(number).arg(m_description).toUtf8())
{
}

RuntimeError RuntimeError::typeMismatch()
{
    return RuntimeError(13, QStringLiteral("型が一致しません。"));
}

RuntimeError RuntimeError::overflow()
{
    return RuntimeError(6, QStringLiteral("オーバーフローしました。"));
}

RuntimeError RuntimeError::invalidProcedureCall()
{
    return RuntimeError(5, QStringLiteral("プロシージャの呼び出し、または引数が不正です。"));
}

Form::Form(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_client(new QWidget(this))
{
    setAttribute(Qt::WA_QuitOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_client);
    m_client->setObjectName(QStringLiteral("client"));
}

void Form::setMenuBar(QMenuBar *bar)
{
    layout()->setMenuBar(bar);
}

Form::~Form()
{
    forget(this);
}

QPoint Form::framePosForTwips(float leftTwips, float topTwips) const
{
    return QPoint(int(std::lround(leftTwips / design::kTwipsPerPixel)),
        int(std::lround(topTwips / design::kTwipsPerPixel)));
}

float Form::Left() const
{
    if (m_exactPos && framePosForTwips(m_leftTwips, m_topTwips).x() == pos().x())
        return m_leftTwips;
    return float(pos().x() * design::kTwipsPerPixel);
}

float Form::Top() const
{
    if (m_exactPos && framePosForTwips(m_leftTwips, m_topTwips).y() == pos().y())
        return m_topTwips;
    return float(pos().y() * design::kTwipsPerPixel);
}

void Form::setLeft(float twips)
{
    moveToTwips(twips, Top());
}

void Form::setTop(float twips)
{
    moveToTwips(Left(), twips);
}

// The place as set, kept in twips so that it reads back as set.
void Form::moveToTwips(float left, float top)
{
    for (const float twips : { left, top })
        if (!std::isfinite(twips) || std::fabs(twips / design::kTwipsPerPixel) > float(1 << 24))
            throw RuntimeError::invalidProcedureCall();
    m_leftTwips = left;
    m_topTwips = top;
    m_exactPos = true;
    move(framePosForTwips(m_leftTwips, m_topTwips));
}

WId Form::hWnd()
{
    return winId();
}

void Form::setFixedClientSizeTwips(int widthTwips, int heightTwips)
{
    m_client->setFixedSize(design::twipsToPixels(widthTwips), design::twipsToPixels(heightTwips));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
}

void Form::showEvent(QShowEvent *event)
{
    // Still unmapped here: the window manager reads the place and the
    // task-bar state when the window maps.
    if (!event->spontaneous()) {
        if (!m_showInTaskbar)
            skipTaskbar(this);
        if (m_startUpPosition == StartUpPosition::CenterScreen)
            centreOnScreen();
    }
    QWidget::showEvent(event);
}

void Form::centreOnScreen()
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

void Form::closeEvent(QCloseEvent *event)
{
    // The frame's close box, the window menu and a close from outside all
    // unload through the runtime; the runtime does the hiding itself.
    event->ignore();
    if (m_loaded && !m_unloading && !state().ended)
        unload(*this);
}

void dispatch(const char *name, const std::function<void()> &procedure)
{
    if (state().ended)
        return;
    try {
        procedure();
        return;
    } catch (const Ended &) {
        return;
    } catch (const RuntimeError &e) {
        qCWarning(lcForms, "run-time error %d in %s: %s", e.number(), name,
            qUtf8Printable(e.description()));
        report(e.number(), e.description());
    } catch (const std::exception &e) {
        qCWarning(lcForms, "run-time error 51 in %s: %s", name, e.what());
        report(51, QStringLiteral("内部エラーです。\n%1").arg(QString::fromLocal8Bit(e.what())));
    }
    // No procedure handles errors: the report ends the run, without
    // unload events.
    try {
        end();
    } catch (const Ended &) {
    }
}

void load(Form &form)
{
    if (form.m_loaded)
        return;
    form.m_loaded = true;
    state().loaded.emplace_back(&form);
    dispatch("Form_Load", [&form] { form.Form_Load(); });
}

bool launch(Form &startup)
{
    load(startup);
    if (state().ended)
        return false;
    startup.show();
    emit startup.loadCompleted();
    return !state().ended && anyLoaded();
}

int start(Form &startup)
{
    if (!launch(startup))
        return 0;
    state().inMainLoop = true;
    const int code = QApplication::exec();
    state().inMainLoop = false;
    return code;
}

void showModal(Form &form)
{
    QPointer<Form> guard(&form);
    load(form);
    if (state().ended || !guard || !guard->isLoaded())
        return;
    form.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(&form, &Form::unloaded, &loop, &QEventLoop::quit);
    QObject::connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
    form.show();
    emit form.loadCompleted();
    if (state().ended || !guard || !guard->isLoaded())
        return;
    state().modalLoops.emplace_back(&loop);
    loop.exec(QEventLoop::DialogExec);
    std::erase_if(
        state().modalLoops, [&loop](const QPointer<QEventLoop> &p) { return p == &loop; });
    if (state().ended)
        throw Ended {};
}

void unload(Form &form)
{
    if (!form.m_loaded || form.m_unloading)
        return;
    QPointer<Form> guard(&form);
    form.m_unloading = true;
    qint16 cancel = 0;
    dispatch("Form_Unload", [&form, &cancel] { form.Form_Unload(cancel); });
    if (!guard)
        return;
    form.m_unloading = false;
    if (state().ended || cancel != 0)
        return;
    form.m_loaded = false;
    form.hide();
    forget(&form);
    emit form.unloaded();
    if (guard && form.testAttribute(Qt::WA_DeleteOnClose))
        form.deleteLater();
    if (!anyLoaded())
        leaveEventLoops();
}

void end()
{
    state().ended = true;
    if (!state().endHook) {
        std::fflush(nullptr);
        ::_exit(0);
    }
    state().endHook();
    for (const auto &p : state().loaded)
        if (p)
            p->hide();
    leaveEventLoops();
    throw Ended {};
}

bool hasEnded()
{
    return state().ended;
}

void setEndHook(std::function<void()> hook)
{
    state().endHook = std::move(hook);
}

void resetForTests()
{
    State &s = state();
    s.loaded.clear();
    s.endHook = {};
    s.ended = false;
    s.inMainLoop = false;
    s.modalLoops.clear();
}

namespace {
// Unloads `oldest` and every window loaded after it, newest first, so a
// modal window goes before the one it blocks.
void unloadFrom(std::size_t oldest)
{
    auto all = state().loaded;
    for (std::size_t i = all.size(); i-- > oldest;)
        if (all[i] && !state().ended)
            unload(*all[i]);
}

// Another client destroyed one of our windows (xdotool windowclose, a
// window manager's kill): unload it, as for a close from outside.
class DestroyedWindowWatch : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
            return false;
        const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
        const auto &all = state().loaded;
        for (std::size_t i = 0; i < all.size(); ++i) {
            const Form *form = all[i];
            if (form && form->isLoaded() && form->internalWinId() == WId(destroyed->window)) {
                // Not from inside the event dispatch: unload runs event
                // procedures and may open boxes.
                QTimer::singleShot(0, qApp, [i, form = QPointer<const Form>(form)] {
                    const auto &now = state().loaded;
                    if (form && i < now.size() && now[i] == form)
                        unloadFrom(i);
                });
                break;
            }
        }
        return false;
    }
};
} // namespace

void unloadAll()
{
    unloadFrom(0);
}

namespace {
// Only a write: all else waits for the event loop.
void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(state().signalPipe[1], &c, 1);
}
} // namespace

void installCloseFromOutside()
{
    int *pipe = state().signalPipe;
    if (pipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(pipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [pipe] {
        char buf[16];
        [[maybe_unused]] ssize_t n = ::read(pipe[0], buf, sizeof buf);
        unloadAll();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);

    // The end of the desktop session unloads like a close from outside.
    QObject::connect(
        qApp, &QGuiApplication::commitDataRequest, qApp, [](QSessionManager &) { unloadAll(); });

    static DestroyedWindowWatch destroyedWindows;
    qApp->installNativeEventFilter(&destroyedWindows);
}

bool prepareDisplay(int &argc, char **&argv)
{
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QByteArray display = qgetenv("DISPLAY");
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "-platform") || !std::strcmp(argv[i], "--platform"))
            platform = argv[i + 1];
        else if (!std::strcmp(argv[i], "-display") || !std::strcmp(argv[i], "--display"))
            display = argv[i + 1];
    }
    if (platform.isEmpty()) {
        // Always on top and the task-bar state are X11 window-manager
        // hints: X11 also on a Wayland desktop, through XWayland. Given as
        // an argument, so that programs started from here keep the user's
        // environment.
        static char option[] = "-platform";
        static char xcb[] = "xcb";
        static std::vector<char *> args;
        args.assign(argv, argv + argc);
        args.insert(args.end(), { option, xcb, nullptr });
        argc += 2;
        argv = args.data();
        platform = xcb;
    }
    if (platform != "xcb" && !platform.startsWith("xcb:"))
        return true;

    // Qt would abort (and dump core) on a display it cannot open.
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> c(
        xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr), &xcb_disconnect);
    if (c && xcb_connection_has_error(c.get()) == 0)
        return true;
    if (display.isEmpty())
        std::fprintf(stderr, "vorlane: cannot open an X display: DISPLAY is not set\n");
    else
        std::fprintf(stderr, "vorlane: cannot open the X display '%s'\n", display.constData());
    return false;
}

bool isOnAnyScreen(const QRect &frame)
{
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen->geometry().intersects(frame))
            return true;
    return false;
}

} // namespace forms
