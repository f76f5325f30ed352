// The yardstick for the start-up benchmark: a bare Qt window of the main
// window's client size, reporting its first paint as the viewer does.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {
class Window : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_reported)
            return;
        m_reported = true;
        QTimer::singleShot(0, this, [] {
            timespec ts {};
            clock_gettime(CLOCK_MONOTONIC, &ts);
            std::printf("first-paint %lld\n", ts.tv_sec * 1000000000LL + ts.tv_nsec);
            std::fflush(stdout);
        });
    }

private:
    bool m_reported = false;
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Window w;
    w.setWindowTitle(QStringLiteral("bare"));
    w.setFixedSize(559, 374);
    w.move(0, 0);
    w.show();
    return QApplication::exec();
}
