// The first paint of a window: work that can wait until the window is on
// screen, and the start-up benchmark's report. Header only: the
// benchmark's yardsticks use it too, and must not pull in more of the
// program than plain Qt.
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <functional>
#include <utility>

namespace forms {

// Runs `then` at the first turn of the event loop after the first paint of
// `window`, once that paint has been flushed to the screen.
inline void afterFirstPaint(QWidget *window, std::function<void()> then)
{
    class Filter : public QObject
    {
    public:
        Filter(QObject *parent, std::function<void()> then)
            : QObject(parent)
            , m_then(std::move(then))
        {
        }
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, this, [this] {
                    m_then();
                    deleteLater();
                });
            }
            return false;
        }

    private:
        std::function<void()> m_then;
    };
    window->installEventFilter(new Filter(window, std::move(then)));
}

// For the start-up benchmark: prints "first-paint NANOSECONDS" (the
// monotonic clock) on stdout after the first paint of `window`.
inline void reportFirstPaint(QWidget *window)
{
    afterFirstPaint(window, [] {
        timespec ts {};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        std::printf("first-paint %lld\n", ts.tv_sec * 1000000000LL + ts.tv_nsec);
        std::fflush(stdout);
    });
}

} // namespace forms
