#include "format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace jetread {

namespace {

// The runtime prints at most `maxDigits` significant digits, and the
// fewest that read back to the same value. Plain notation from 1E-4 up to
// below 1E+15 (the runtime's own range), otherwise "1.5E+20" / "1E-05".
template <typename T> std::string formatFloat(T value, int maxDigits)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    if (value == 0)
        return "0";

    char buf[64];
    int digits = 1;
    for (; digits < maxDigits; ++digits) {
        auto r = std::to_chars(
            buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
        T back {};
        std::from_chars(buf, r.ptr, back);
        if (back == value)
            break;
    }
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
    std::string sci(buf, r.ptr); // d.dddde±XX
    const auto e = sci.find('e');
    const int exponent = std::stoi(sci.substr(e + 1));
    std::string mantissa = sci.substr(0, e);
    const bool negative = mantissa[0] == '-';
    if (negative)
        mantissa.erase(0, 1);
    std::string significand;
    for (char c : mantissa)
        if (c != '.')
            significand += c;
    while (significand.size() > 1 && significand.back() == '0')
        significand.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        out += significand.substr(0, 1);
        if (significand.size() > 1)
            out += "." + significand.substr(1);
        char ex[16];
        std::snprintf(ex, sizeof ex, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return out + ex;
    }
    if (exponent < 0)
        return out + "0." + std::string(std::size_t(-exponent - 1), '0') + significand;
    const auto intDigits = std::size_t(exponent) + 1;
    if (significand.size() <= intDigits)
        return out + significand + std::string(intDigits - significand.size(), '0');
    return out + significand.substr(0, intDigits) + "." + significand.substr(intDigits);
}

std::string twoDigits(long v)
{
    char b[8];
    std::snprintf(b, sizeof b, "%02ld", v);
    return b;
}

// Proleptic Gregorian date from a count of days since 1970-01-01.
void civilFromDays(long long z, long long &y, unsigned &m, unsigned &d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = (long long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

} // namespace

std::string formatDouble(double value)
{
    return formatFloat(value, 15);
}

// A Single shows at most 7 significant digits, as the runtime does.
std::string formatSingle(float value)
{
    return formatFloat(value, 7);
}

std::string formatCurrency(std::int64_t v)
{
    const bool negative = v < 0;
    // Through unsigned so that INT64_MIN does not overflow.
    const std::uint64_t magnitude = negative ? 0 - std::uint64_t(v) : std::uint64_t(v);
    std::string out = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    std::uint64_t frac = magnitude % 10000;
    if (frac) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (f.back() == '0')
            f.pop_back();
        out += "." + f;
    }
    return out;
}

// The stored value counts days from 1899-12-30; below zero the whole part
// counts days back while the fraction is still the time of day. Shown in
// the fixed "YYYY/MM/DD hh:mm:ss" form: the date alone when the time is
// midnight, the time alone when the day is 1899-12-30 (the runtime's way of
// showing a pure time), so nothing depends on the user's regional settings.
// Values outside the runtime's date range (years 100 to 9999) are shown as
// the plain number.
std::string formatDateTime(double days)
{
    if (!std::isfinite(days) || days < -657434.0 || days >= 2958466.0)
        return formatDouble(days);
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    long long seconds = (long long)whole * 86400 + std::llround(fraction * 86400.0);
    long long day = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const long timeOfDay = long(seconds - day * 86400);

    std::string time = twoDigits(timeOfDay / 3600) + ":" + twoDigits(timeOfDay / 60 % 60) + ":"
        + twoDigits(timeOfDay % 60);
    if (day == 0)
        return time;
    long long y;
    unsigned m, d;
    civilFromDays(day - 25569, y, m, d); // 1899-12-30 is day -25569 of 1970
    char date[32];
    std::snprintf(date, sizeof date, "%04lld/%02u/%02u", y, m, d);
    if (timeOfDay == 0)
        return date;
    return std::string(date) + " " + time;
}

std::string formatDecimal(const std::uint32_t (&words)[4], bool negative, int scale)
{
    unsigned __int128 v = 0;
    for (std::uint32_t w : words)
        v = v << 32 | w;
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(v % 10)));
        v /= 10;
    } while (v);
    if (scale < 0)
        scale = 0;
    if (scale > 28)
        scale = 28;
    if (digits.size() <= std::size_t(scale))
        digits.insert(0, std::size_t(scale) - digits.size() + 1, '0');
    std::string intPart = digits.substr(0, digits.size() - std::size_t(scale));
    std::string frac = digits.substr(digits.size() - std::size_t(scale));
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    std::string out = intPart + (frac.empty() ? "" : "." + frac);
    if (negative && out != "0")
        out.insert(0, "-");
    return out;
}

} // namespace jetread
