// Times jet::readTable on one file over N runs, reader process included.
#include "jet/engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString file = args.size() > 1
        ? args[1]
        : QStringLiteral(VORLANE_SHARED_DIR "/testdata/access/jet3-testV1997.mdb");
    const QString table = args.size() > 2 ? args[2] : QStringLiteral("Table1");
    const int runs = args.size() > 3 ? std::max(1, args[3].toInt()) : 50;

    std::vector<double> ms;
    std::size_t rows = 0;
    try {
        jet::readTable(file, table, {}); // warm the page cache
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            const auto result = jet::readTable(file, table, {});
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
            rows = result.rows.size();
        }
    } catch (const jet::Error &e) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(e.message()), qPrintable(e.details()));
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    const double p95 = ms[std::min(ms.size() - 1, std::size_t(double(ms.size()) * 0.95))];
    std::printf("readTable %s [%s]: %zu rows, %d runs, median %.2f ms, p95 %.2f ms, max %.2f ms\n",
        qPrintable(file), qPrintable(table), rows, runs, median, p95, ms.back());
    return 0;
}
