// The About window's design data.
#pragma once

#include "controls/design.h"

#include <vector>

namespace about::design {

inline const char *const kCaption = "information";
inline constexpr int kClientWidth = 4815;
inline constexpr int kClientHeight = 5040;

// The maker's texts.
inline const char *const kMakerLine = "Copyright (C) Vorlane Works";
inline const char *const kMailLine = "E-mail  info@vorlane.example";
inline const char *const kWebAddress = "https://www.vorlane.example/";

// The window's controls, back to front.
const std::vector<controls::ControlDesign> &controls();

} // namespace about::design
