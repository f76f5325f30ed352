// RFC 4180 comma-separated values: quoted fields may hold commas, quotes
// ("") and line breaks; lines end in LF or CRLF; a UTF-8 byte order mark is
// skipped.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace csv {

class Error : public std::runtime_error
{
public:
    Error(int line, const std::string &what);
    int line() const noexcept { return m_line; }

private:
    int m_line;
};

struct Record
{
    int line; // where the record starts, from 1
    std::vector<std::string> fields;
};

// Every record, the header included. Blank lines are skipped.
std::vector<Record> parse(std::string_view text);

} // namespace csv
