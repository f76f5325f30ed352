// drawgen: draws the page drawings and the program icon and writes them
// in the formats the program embeds.
//
//   drawgen OUTDIR               the assets
//   drawgen OUTDIR --overlay DIR also PNGs of each drawing with the page's
//                                boxes and captions laid over it

#include "drawings.h"
#include "formats.h"
#include "overlay.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <memory>

namespace {

void write(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()
        || !f.flush())
        throw std::runtime_error(("cannot write " + f.fileName()).toStdString());
}

} // namespace

int main(int argc, char **argv)
{
    using namespace drawgen;
    if (argc != 2 && !(argc == 4 && QByteArray(argv[2]) == "--overlay")) {
        std::fprintf(stderr, "usage: drawgen OUTDIR [--overlay DIR]\n");
        return 2;
    }
    try {
        const QDir out(QString::fromLocal8Bit(argv[1]));
        if (!out.mkpath(QStringLiteral(".")))
            throw std::runtime_error("cannot create the output folder");

        for (const PageDrawing &d : pageDrawings)
            write(out, QString::fromLatin1(d.stem) + ".bmp", bmp8(toDrawingPalette(d.draw())));

        write(out, QStringLiteral("vorlane.ico"), ico4(iconPixels(), iconOpaque()));
        write(out, QStringLiteral("vorlane.png"), pngIndexed(iconForPng(1)));
        for (int size : { 64, 128, 256 })
            write(
                out, QStringLiteral("vorlane-%1.png").arg(size), pngIndexed(iconForPng(size / 32)));

        if (argc == 4) {
            // Text needs a GUI application; the assets above do not.
            int fakeArgc = 1;
            QGuiApplication app(fakeArgc, argv);
            const QDir dbg(QString::fromLocal8Bit(argv[3]));
            dbg.mkpath(QStringLiteral("."));
            for (const PageDrawing &d : pageDrawings) {
                const QImage img = d.draw();
                const QString name = QString::fromLatin1(d.stem);
                labelOverlay(img, d.drawing, 2, false).save(dbg.filePath(name + "-labels.png"));
                labelOverlay(img, d.drawing, 2, true).save(dbg.filePath(name + "-page.png"));
            }
            iconForPng(8).convertToFormat(QImage::Format_ARGB32).save(dbg.filePath("icon-x8.png"));
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "drawgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
