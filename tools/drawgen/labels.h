#pragma once

#include "design/design.h"
#include "drawings.h"

#include <QRect>

#include <vector>

namespace drawgen {

// The boxes and captions that the main window puts over a drawing: the
// rows of the picture box that shows it. The drawings keep their ground
// free there; the overlay render shows them.
std::vector<const design::Row *> pageLabels(Drawing drawing);

// A row's place in pixels of the drawing (15 twips to a pixel).
inline QRect pixels(const design::Row &row)
{
    return QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15);
}

} // namespace drawgen
