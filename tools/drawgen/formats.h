#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

namespace drawgen {

// Writers for the asset formats. Each takes an image whose pixels are
// palette indices (QImage::Format_Indexed8) and produces the file bytes
// itself, so that the output depends on nothing but the pixels.

// Uncompressed 8-bit BMP (BITMAPINFOHEADER, BI_RGB) with a 256-entry table.
QByteArray bmp8(const QImage &indexed);

// 32 x 32 icon, 4 bits per pixel with AND mask. `indexed` must use at most
// the first 16 entries of its colour table; `opaque` (Format_Mono or any
// image, non-zero = opaque) decides the mask.
QByteArray ico4(const QImage &indexed, const QImage &opaque);

// Palette PNG (colour type 3, 8 bits) with a tRNS chunk; the zlib stream
// uses stored blocks only, so the bytes do not depend on a zlib version.
QByteArray pngIndexed(const QImage &indexed);

} // namespace drawgen
