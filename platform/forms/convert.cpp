#include "forms/convert.h"

#include "forms/runtime.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace forms {

QString CStr(float value)
{
    if (value == 0.0f)
        return QStringLiteral("0"); // no "-0"
    char buf[64];
    // Whole numbers as plain digits: the shortest form would write 100000
    // as "1e+05".
    const bool plain = value == std::trunc(value) && std::fabs(value) < 1e15f;
    auto [end, ec] = plain ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed)
                           : std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc())
        throw RuntimeError::overflow();
    return QString::fromLatin1(buf, int(end - buf));
}

float CSng(const QString &text)
{
    const std::string s = text.trimmed().toStdString();
    if (s.empty())
        throw RuntimeError::typeMismatch();
    // Only plain decimal notation: sign, digits, one ".", an exponent.
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    bool digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i, digits = true;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i, digits = true;
    }
    if (!digits)
        throw RuntimeError::typeMismatch();
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        std::size_t k = j;
        while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k])))
            ++k;
        if (k == j)
            throw RuntimeError::typeMismatch();
        i = k;
    }
    if (i != s.size())
        throw RuntimeError::typeMismatch();

    const char *first = s.data() + (s[0] == '+' ? 1 : 0);
    double d = 0;
    auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), d);
    if (ec == std::errc::result_out_of_range) {
        // Too small is zero, as the runtime has it; too large overflows.
        if (std::fabs(d) > 1.0 || d == 0.0) {
            const std::string mant = s.substr(0, s.find_first_of("eE"));
            bool nonzero = mant.find_first_of("123456789") != std::string::npos;
            const auto e = s.find_first_of("eE");
            const bool negExp = e != std::string::npos && e + 1 < s.size() && s[e + 1] == '-';
            if (nonzero && !negExp)
                throw RuntimeError::overflow();
        }
        return 0.0f;
    }
    if (ec != std::errc() || ptr != s.data() + s.size())
        throw RuntimeError::typeMismatch();
    // Beyond the largest single only once it no longer rounds down to it:
    // CStr writes the largest single as "3.4028235e+38", a little above.
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::fabs(d) >= largest + std::ldexp(1.0, 103)) // half a unit in the last place
        throw RuntimeError::overflow();
    if (std::fabs(d) > largest)
        return std::copysign(std::numeric_limits<float>::max(), float(d > 0 ? 1 : -1));
    return float(d);
}

} // namespace forms
