// The dimension table names each field after its column in the data set,
// in full-width letters and digits: "da" is ｄａ, "k1" is ｋ１. Plain C++, for
// the database writer as well.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace design {

// nullopt for a name that is not made of ASCII letters and digits.
inline std::optional<std::u16string> fieldName(std::string_view column)
{
    if (column.empty())
        return std::nullopt;
    std::u16string out;
    for (const char c : column) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9'))
            return std::nullopt;
        out += char16_t(c + 0xFEE0);
    }
    return out;
}

} // namespace design
