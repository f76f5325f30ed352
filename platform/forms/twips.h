// Twips: 1440 to the inch, 15 to a logical pixel at 96 dpi. Qt's high-DPI
// scaling maps logical pixels to the screen.
#pragma once

#include <QRect>

#include <cmath>

namespace forms {

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

} // namespace forms
