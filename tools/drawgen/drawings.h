#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

namespace drawgen {

enum class Drawing { Bolt, Nut, Joint };

// The three page drawings, in the sheet colours (Format_RGB32).
QImage boltDrawing();
QImage nutDrawing();
QImage jointDrawing();

// Every page drawing, with the stem of its file (STEM.bmp) and what draws
// it; the picture box that shows it names that file.
struct PageDrawing
{
    Drawing drawing;
    const char *stem;
    QImage (*draw)();
};
inline constexpr PageDrawing pageDrawings[] = {
    { Drawing::Bolt, "bolt", boltDrawing },
    { Drawing::Nut, "nut", nutDrawing },
    { Drawing::Joint, "joint", jointDrawing },
};

const char *stem(Drawing drawing);

// The 256-entry colour table the drawings are stored with, and the
// drawing turned into indices of it.
QList<QRgb> drawingPalette();
QImage toDrawingPalette(const QImage &rgb);

// The program icon: 32 x 32 indices into the standard 16-colour table,
// and the mask of its opaque pixels (white = opaque).
QList<QRgb> standardSixteen();
QImage iconPixels();
QImage iconOpaque();
// The icon with its mask applied, `scale` times enlarged pixel for pixel,
// as indices into the sixteen colours plus a transparent 17th entry.
QImage iconForPng(int scale);

} // namespace drawgen
