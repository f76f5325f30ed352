// The About window's design data.
#pragma once

#include "design/design.h"

namespace about::layout {

// The maker's texts.
inline const char *const kMakerLine = "Copyright (C) Vorlane Works";
inline const char *const kMailLine = "E-mail  info@vorlane.example";
inline const char *const kWebAddress = "https://www.vorlane.example/";

// The window and its controls, back to front.
const design::Window &form2();

} // namespace about::layout
