// The main window's design data.
#pragma once

#include "controls/design.h"

#include <vector>

namespace viewer::design {

inline const char *const kCaption = "Kantrell【六角ボルト・ナット】 JIS B 1180・1181(1988)";
inline constexpr int kClientWidth = 8385;
inline constexpr int kClientHeight = 5610;

// The window's own controls, back to front.
const std::vector<controls::ControlDesign> &windowControls();
// The labels of the three pages: value boxes, static captions and the
// size lines.
const std::vector<controls::ControlDesign> &pageLabels();

} // namespace viewer::design
