// A yardstick for the start-up benchmark: an empty Qt window of the main
// window's client size.
#include "forms/firstpaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("bare"));
    w.setFixedSize(559, 374);
    w.move(0, 0);
    forms::reportFirstPaint(&w);
    w.show();
    return QApplication::exec();
}
