// Drives a modal showing from inside its nested loop.
#pragma once

#include "about/form2.h"
#include "controls/commandbutton.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace testing {

// The About window currently shown modally, if any.
inline about::Form2 *modalForm2()
{
    return qobject_cast<about::Form2 *>(QApplication::activeModalWidget());
}

// The About window on show, modal or not.
inline about::Form2 *shownForm2()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<about::Form2 *>(w); f && f->isVisible())
            return f;
    return nullptr;
}

// Calls `show`, which must block until the About window has gone, and
// runs `during` inside it once the window is shown and active. Should the window
// still be open fifteen seconds later, it is unloaded and `*timedOut` set.
inline void whileModal(const std::function<void()> &show,
    const std::function<void(about::Form2 &)> &during, bool *timedOut)
{
    *timedOut = false;
    QTimer::singleShot(0, [during] {
        about::Form2 *f = shownForm2();
        if (!f)
            return;
        QPointer<about::Form2> guard(f);
        // Not isActiveWindow(): that holds for a transient child of the
        // active window too.
        if (!QTest::qWaitFor([&] { return guard && QApplication::activeWindow() == guard; }))
            qWarning("About window did not become active");
        if (guard)
            during(*guard);
    });
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [timedOut] {
        if (about::Form2 *f = shownForm2()) {
            *timedOut = true;
            forms::unload(*f);
        }
    });
    rescue.start(15000);
    show();
}

// The ways the About window closes, by the names the tests' rows use.
inline const char *const kCloseWays[] = { "Esc", "Return", "Space", "button", "closeBox" };

// Closes `f` the way `how` names.
inline void closeBy(about::Form2 &f, const QString &how)
{
    QWindow *w = f.windowHandle();
    if (how == "Esc")
        QTest::keyClick(w, Qt::Key_Escape);
    else if (how == "Return")
        QTest::keyClick(w, Qt::Key_Return);
    else if (how == "Space")
        QTest::keyClick(w, Qt::Key_Space);
    else if (how == "button")
        QTest::mouseClick(
            w, Qt::LeftButton, {}, f.Command1->mapTo(&f, f.Command1->rect().center()));
    else
        f.close();
}

} // namespace testing
