#include "forms/runtime.h"
#include "forms/system.h"
#include "viewer/form1.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

// For the start-up benchmark (VORLANE_REPORT_FIRST_PAINT set): prints the
// monotonic clock once the first paint of the window has been flushed.
class FirstPaintReport : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [] {
                timespec ts {};
                clock_gettime(CLOCK_MONOTONIC, &ts);
                std::printf("first-paint %lld\n", ts.tv_sec * 1000000000LL + ts.tv_nsec);
                std::fflush(stdout);
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlane"));
    QApplication::setDesktopFileName(QStringLiteral("vorlane"));
    forms::installFontSubstitutes();
    forms::installCloseFromOutside();

    viewer::Form1 form1;
    if (qEnvironmentVariableIsSet("VORLANE_REPORT_FIRST_PAINT"))
        form1.installEventFilter(new FirstPaintReport(&app));
    return forms::start(form1);
}
