// Drives a modal showing from inside its nested loop.
#pragma once

#include "about/form2.h"

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

// Runs `during` once `form` is the active modal window, then calls
// `show`, which must block until the window has gone. Should the window
// still be open fifteen seconds later, it is unloaded and `*timedOut` set.
inline void whileModal(const std::function<void()> &show,
    const std::function<void(about::Form2 &)> &during, bool *timedOut)
{
    *timedOut = false;
    QTimer::singleShot(0, [during] {
        about::Form2 *f = modalForm2();
        if (!f)
            return;
        QPointer<about::Form2> guard(f);
        if (!QTest::qWaitForWindowActive(f))
            qWarning("About window did not become active");
        if (guard)
            during(*guard);
    });
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [timedOut] {
        if (about::Form2 *f = modalForm2()) {
            *timedOut = true;
            forms::unload(*f);
        }
    });
    rescue.start(15000);
    show();
}

} // namespace testing
