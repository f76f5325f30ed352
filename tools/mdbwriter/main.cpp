// vorlane-mdbwriter INPUT.csv OUTPUT.mdb
//
// Writes the dimension table "六角ボルト・ナット" from the data set into a new
// Jet 4 database. Every column of the CSV header but `sources` becomes a
// field, in the header's order, named by the column in full-width letters
// and digits (m → ｍ, k1 → ｋ１): `m` as text, the others as numbers.
// The output appears only when it is complete.

#include "csv.h"
#include "design/fieldname.h"
#include "jet4.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

namespace {

// A column of the data set that becomes a field of the table.
struct Field
{
    std::string csvName;
    std::u16string name;
    jet4::Type type;
    std::size_t column; // in the data set
};

// Names the source of each value; not part of the table.
constexpr std::string_view sourcesColumn = "sources";
// The nominal size, as text; every other field is a number.
constexpr std::string_view sizeColumn = "m";

constexpr char16_t tableName[] = u"六角ボルト・ナット";
constexpr int sizeTextLength = 50;

struct InputError
{
    int line;
    std::string what;
};

std::optional<std::u16string> utf16(std::string_view s)
{
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t cp;
        std::size_t n;
        if (b < 0x80) {
            cp = b;
            n = 1;
        } else if ((b & 0xe0) == 0xc0) {
            cp = b & 0x1f;
            n = 2;
        } else if ((b & 0xf0) == 0xe0) {
            cp = b & 0x0f;
            n = 3;
        } else if ((b & 0xf8) == 0xf0) {
            cp = b & 0x07;
            n = 4;
        } else {
            return std::nullopt;
        }
        if (i + n > s.size())
            return std::nullopt;
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xc0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (c & 0x3f);
        }
        const char32_t least[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (cp < least[n] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
            return std::nullopt;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xd800 + (cp >> 10));
            out += char16_t(0xdc00 + (cp & 0x3ff));
        } else {
            out += char16_t(cp);
        }
        i += n;
    }
    return out;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

jet4::Value cellValue(const Field &f, const std::string &cell, int line)
{
    const std::string_view s = trimmed(cell);
    if (s.empty())
        return std::monostate {};
    if (f.type == jet4::Type::Text) {
        auto text = utf16(s);
        if (!text)
            throw InputError { line, std::string("field ") + f.csvName + ": not UTF-8" };
        return *text;
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        throw InputError { line,
            std::string("field ") + f.csvName + ": not a number: \"" + std::string(s) + "\"" };
    return v;
}

jet4::Table readTable(const std::string &text)
{
    const std::vector<csv::Record> records = csv::parse(text);
    if (records.empty())
        throw InputError { 1, "no header line" };

    const auto &header = records.front().fields;
    const int headerLine = records.front().line;
    std::vector<Field> fields;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string column(trimmed(header[i]));
        if (column == sourcesColumn)
            continue;
        const auto name = design::fieldName(column);
        if (!name)
            throw InputError { headerLine, "column \"" + column + "\" is not a field name" };
        for (const Field &f : fields)
            if (f.csvName == column)
                throw InputError { headerLine, "field " + column + " appears twice" };
        fields.push_back(
            { column, *name, column == sizeColumn ? jet4::Type::Text : jet4::Type::Double, i });
    }
    if (fields.empty() || fields.front().csvName != sizeColumn)
        throw InputError { headerLine, "the first field must be m" };

    jet4::Table table;
    table.name = tableName;
    for (const Field &f : fields)
        table.columns.push_back(
            { f.name, f.type, f.type == jet4::Type::Text ? sizeTextLength : 0 });

    for (std::size_t r = 1; r < records.size(); ++r) {
        const csv::Record &rec = records[r];
        if (rec.fields.size() != header.size())
            throw InputError { rec.line,
                std::to_string(rec.fields.size()) + " fields, header has "
                    + std::to_string(header.size()) };
        std::vector<jet4::Value> row;
        for (const Field &f : fields)
            row.push_back(cellValue(f, rec.fields[f.column], rec.line));
        if (std::holds_alternative<std::monostate>(row.front()))
            throw InputError { rec.line, "field m is empty" };
        if (std::get<std::u16string>(row.front()).size() > std::size_t(sizeTextLength))
            throw InputError { rec.line, "field m is too long" };
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: vorlane-mdbwriter INPUT.csv OUTPUT.mdb\n";
        return 2;
    }
    const std::filesystem::path input = argv[1];
    const std::filesystem::path output = argv[2];
    const auto fail = [&](const std::string &what) {
        std::cerr << "vorlane-mdbwriter: " << what << '\n';
        return 1;
    };

    std::ifstream in(input, std::ios::binary);
    if (!in)
        return fail(input.string() + ": cannot open");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return fail(input.string() + ": read error");

    std::vector<std::uint8_t> bytes;
    try {
        bytes = jet4::buildDatabase({ readTable(text.str()) });
    } catch (const InputError &e) {
        return fail(input.string() + ":" + std::to_string(e.line) + ": " + e.what);
    } catch (const csv::Error &e) {
        return fail(input.string() + ":" + std::to_string(e.line()) + ": " + e.what());
    } catch (const jet4::Error &e) {
        return fail(e.what());
    }

    // Written beside the target and renamed, so that a failed run never
    // leaves a truncated database where the build expects a good one.
    std::filesystem::path temp = output;
    temp += ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return fail(temp.string() + ": write error");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, output, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return fail(output.string() + ": " + ec.message());
    }
    return 0;
}
