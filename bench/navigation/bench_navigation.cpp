// Benchmark, not a test: one step of the navigation bar with every bound
// label repainted, on the shipped database. Prints median and p95 in ms.
// Usage: bench_navigation [DATABASE_DIR] [STEPS]
#include "forms/system.h"

#include "../../tests/support/form1harness.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    forms::installFontSubstitutes();
    const QString dir
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    const int steps = argc > 2 ? std::atoi(argv[2]) : 2000;

    testing::Form1Harness run;
    QElapsedTimer open;
    open.start();
    viewer::Form1 *launched = run.launch(dir);
    for (const QString &box : std::as_const(run.boxes))
        std::fprintf(stderr, "%s\n", qPrintable(box));
    if (!launched || launched->Data1->recordCount() == 0)
        return 1;
    viewer::Form1 &form = *launched;
    const double startMs = open.nsecsElapsed() / 1e6;

    // Walk forward and back over the whole table, repainting after each step.
    std::vector<double> ms;
    ms.reserve(std::size_t(steps));
    bool forward = true;
    for (int i = 0; i < steps; ++i) {
        const int at = form.Data1->absolutePosition();
        if (at == form.Data1->recordCount() - 1)
            forward = false;
        else if (at == 0)
            forward = true;
        QElapsedTimer t;
        t.start();
        forward ? form.Data1->moveNext() : form.Data1->movePrevious();
        // Renders the whole window, every label included: an upper bound
        // of what the screen's repaint costs.
        (void)form.grab();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("window built, loaded, shown and table opened: %.2f ms\n", startMs);
    std::printf(
        "step + full window render over %d steps: median %.3f ms, p95 %.3f ms (target < 2 ms)\n",
        steps, ms[ms.size() / 2], ms[ms.size() * 95 / 100]);
    return 0;
}
