#pragma once

#include "design/design.h"
#include "drawings.h"

#include <vector>

namespace drawgen {

// The boxes and captions that the main window puts over a drawing: the
// rows of the picture box that shows it. The drawings keep their ground
// free there; the overlay render shows them.
std::vector<const design::Row *> pageLabels(Drawing drawing);

} // namespace drawgen
