// Twips: 1440 to the inch, 15 to a logical pixel at 96 dpi. Qt's high-DPI
// scaling maps logical pixels to the screen. Kept with the design rows so
// that the runtime, drawgen and the tests place a row alike.
#pragma once

#include "design/design.h"

#include <QRect>

#include <cmath>

namespace design {

inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips)
{
    return int(std::lround(twips / kTwipsPerPixel));
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(
        twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// A row's place in pixels.
inline QRect twipsRect(const Row &row)
{
    return twipsRect(row.left, row.top, row.width, row.height);
}

} // namespace design
