// Menu items with Checked: a check mark in front of the caption while
// checked, and nothing at all while not (the platform style would draw an
// empty check box).
#pragma once

class QMenu;

namespace controls {

// For the checkable items of `menu`.
void useCheckMarks(QMenu *menu);

} // namespace controls
