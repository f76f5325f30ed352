#include "forms/firstpaint.h"
#include "forms/runtime.h"
#include "forms/system.h"
#include "viewer/form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    int qtArgc = argc;
    char **qtArgv = argv;
    if (!forms::prepareDisplay(qtArgc, qtArgv))
        return 1;
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Vorlane"));
    QApplication::setDesktopFileName(QStringLiteral("vorlane"));
    forms::installFontSubstitutes();
    forms::installCloseFromOutside();

    viewer::Form1 form1;
    if (qEnvironmentVariableIsSet("VORLANE_REPORT_FIRST_PAINT"))
        forms::reportFirstPaint(&form1);
    return forms::start(form1);
}
