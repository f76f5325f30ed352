// The runtime's conversions between single-precision numbers and text.
// Both are independent of the user's locale: "." is the decimal sign.
#pragma once

#include <QString>

namespace forms {

// Number to text: the shortest text that reads back to the same value;
// whole numbers as plain digits with a leading "-" when negative.
QString CStr(float value);

// Text to number. Blanks around the number are allowed. A text that is
// not a number raises type mismatch (13); one beyond the single range
// raises overflow (6).
float CSng(const QString &text);

} // namespace forms
