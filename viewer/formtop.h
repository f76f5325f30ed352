// Always-on-top mode of a window.
#pragma once

#include <cstdint>

namespace forms {
class Form;
}

namespace viewer {

// Flag 1 makes `form` topmost, 0 an ordinary window again; any other flag
// does nothing and gives 0. Otherwise the result of SetWindowPos.
std::int32_t SetFormTop(forms::Form &form, const std::int16_t &flag);

} // namespace viewer
