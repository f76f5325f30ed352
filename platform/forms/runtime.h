// The form runtime: window objects with event procedures, one dispatch
// point that turns run-time errors into the runtime's report, start, modal
// show, unload and the end at once.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <exception>
#include <functional>

class QMenuBar;

namespace forms {

// Where a window opens when it is shown: where it was put (manual), or
// centred on the screen at every showing.
enum class StartUpPosition { Manual, CenterScreen };

// A run-time error: the runtime's number and description. No event
// procedure handles one; the dispatch point reports it and ends the run.
class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

    static RuntimeError typeMismatch(); // 13
    static RuntimeError overflow(); // 6
    static RuntimeError invalidProcedureCall(); // 5

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

// A window of the program. Subclasses build their controls from design
// tables and implement the event procedures they have.
class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    // Left and Top of the outer frame, in twips. A value set is kept with
    // its fraction until the window is moved by other means.
    float Left() const;
    float Top() const;
    void setLeft(float twips);
    void setTop(float twips);

    // The native window handle, as the system functions take it.
    WId hWnd();

    bool isLoaded() const { return m_loaded; }

    // The client area, below the menu bar if there is one. Controls of the
    // window are children of it.
    QWidget *client() const { return m_client; }
    void setMenuBar(QMenuBar *bar);
    // Sets the client area in twips and fixes the window's size.
    void setFixedClientSizeTwips(int widthTwips, int heightTwips);

    // ShowInTaskbar: False gives the window no task-bar button of its own.
    void setShowInTaskbar(bool on) { m_showInTaskbar = on; }
    bool showInTaskbar() const { return m_showInTaskbar; }
    void setStartUpPosition(StartUpPosition position) { m_startUpPosition = position; }

protected:
    virtual void Form_Load() { }
    virtual void Form_Unload(qint16 &Cancel) { Q_UNUSED(Cancel); }

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

signals:
    // After Form_Load has returned and the window is shown: the data
    // controls open their record source on this.
    void loadCompleted();
    void unloaded();

private:
    friend void load(Form &form);
    friend void unload(Form &form);
    friend bool launch(Form &startup);
    friend void showModal(Form &form);

    QPoint framePosForTwips(float leftTwips, float topTwips) const;
    void moveToTwips(float left, float top);

    void centreOnScreen();

    QWidget *m_client;
    bool m_showInTaskbar = true;
    StartUpPosition m_startUpPosition = StartUpPosition::Manual;
    bool m_loaded = false;
    bool m_unloading = false;
    float m_leftTwips = 0;
    float m_topTwips = 0;
    bool m_exactPos = false; // m_leftTwips/m_topTwips are what was set
};

// Runs `procedure` as the event procedure `name`. A run-time error (or any
// other exception) is reported in the runtime's message box and ends the
// program at once. After an end, nothing runs any more.
void dispatch(const char *name, const std::function<void()> &procedure);

// Loads the form (runs Form_Load through the dispatch point) if needed.
void load(Form &form);

// Creates the start-up window: Form_Load, then show, then the data
// controls open. Runs the event loop until no window is left loaded.
int start(Form &startup);

// start() without the event loop: false when the run is already over
// (Form_Load failed, or it ended the program).
bool launch(Form &startup);

// Shows `form` modally: no other window of the program takes input, and
// the call returns when the form has been unloaded.
void showModal(Form &form);

// Runs Form_Unload (with its Cancel argument), then hides the window. A
// form that is not owned by anyone (Qt::WA_DeleteOnClose set) is deleted.
// The program ends when no window is left loaded.
void unload(Form &form);

// Ends the program at once: no further event procedure runs, Form_Unload
// included.
[[noreturn]] void end();

// True once end() has been called (only observable with an end hook).
bool hasEnded();

// Test seam: called by end() in place of leaving the process. After the
// hook, end() hides every window, stops all dispatching and unwinds the
// running event procedure with Ended, which the dispatch point swallows.
void setEndHook(std::function<void()> hook);

// Test seam: starts the runtime over, as a fresh process would find it: no
// window loaded, not ended, no loop running, no end hook. The handlers of
// installCloseFromOutside stay.
void resetForTests();
struct Ended
{
};

// Unloads every loaded window, newest first: a close from outside.
void unloadAll();

// Closes the program's windows through their unload when the process gets
// SIGTERM or SIGHUP, when the desktop session ends, or when another client
// destroys a window (that window and the ones opened over it).
void installCloseFromOutside();

// Before the application object exists: chooses the X11 platform, also
// under Wayland (through XWayland), unless QT_QPA_PLATFORM or -platform
// names one (it may add "-platform xcb" to the arguments), and checks that
// the X display opens. False, after one line on stderr naming the display,
// when it does not.
bool prepareDisplay(int &argc, char **&argv);

// Whether a window frame at `frame` (logical pixels) would show on some
// screen at all.
bool isOnAnyScreen(const QRect &frame);

} // namespace forms
