// The main window's design: the window, its controls and the labels of its
// three pages, one row per control, back to front.
#pragma once

#include "design/design.h"

namespace viewer::layout {

const design::Window &form1();

} // namespace viewer::layout
