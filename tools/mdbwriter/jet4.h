// A writer for minimal Jet 4 (Access 2000) database files: the header page,
// the system catalog MSysObjects with the other system tables Jet creates,
// and user tables without indexes. Everything is laid out in one pass into
// memory, so the same input always gives the same bytes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace jet4 {

class Error : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum class Type : std::uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0a,
    Ole = 0x0b,
    Memo = 0x0c,
};

struct Column
{
    std::u16string name;
    Type type;
    // Text only: the field size in characters (at most 255).
    int textLength = 0;
};

// NULL, a whole number (Byte, Integer, Long, Boolean), a floating value
// (Double, DateTime as an OLE date) or a text.
using Value = std::variant<std::monostate, std::int64_t, double, std::u16string>;

struct Table
{
    std::u16string name;
    std::vector<Column> columns;
    std::vector<std::vector<Value>> rows; // stored, and read back, in this order
};

struct Options
{
    // OLE automation date of the database and of every catalog entry.
    double creationDate = 45292.0; // 2024-01-01 00:00
};

constexpr std::size_t pageSize = 4096;

// Lays out a database holding `tables` as user tables. Throws jet4::Error.
std::vector<std::uint8_t> buildDatabase(
    const std::vector<Table> &tables, const Options &options = {});

} // namespace jet4
