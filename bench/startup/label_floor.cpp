// A yardstick for the start-up benchmark: the empty window with one
// Japanese label in IPAPGothic 12 pt, the cost of the first use of the
// font that every caption of the viewer is drawn in.
#include "forms/firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("label"));
    w.setFixedSize(559, 374);
    w.move(0, 0);
    auto *label = new QLabel(QStringLiteral("六角ボルト・ナット"), &w);
    label->setFont(QFont(QStringLiteral("IPAPGothic"), 12));
    label->move(8, 8);
    forms::reportFirstPaint(&w);
    w.show();
    return QApplication::exec();
}
