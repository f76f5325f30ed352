// Text forms of Access field values as the old Windows runtime shows them,
// independent of the locale of the process.
#pragma once

#include <cstdint>
#include <string>

namespace jetread {

std::string formatDouble(double value);
std::string formatSingle(float value);
// Currency: a 64-bit count of 1/10000 units.
std::string formatCurrency(std::int64_t tenThousandths);
// Date/Time: days since 1899-12-30 with the time of day as the fraction.
std::string formatDateTime(double days);
// Decimal: magnitude in four 32-bit words (most significant first), sign
// and scale.
std::string formatDecimal(const std::uint32_t (&words)[4], bool negative, int scale);

} // namespace jetread
