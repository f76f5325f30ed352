#include "csv.h"

namespace csv {

Error::Error(int line, const std::string &what)
    : std::runtime_error(what)
    , m_line(line)
{
}

std::vector<Record> parse(std::string_view text)
{
    if (text.starts_with("\xef\xbb\xbf"))
        text.remove_prefix(3);

    std::vector<Record> records;
    Record current { 1, {} };
    std::string field;
    bool inQuotes = false;
    bool wasQuoted = false;
    bool fieldStarted = false;
    int line = 1;

    const auto endField = [&] {
        current.fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
        fieldStarted = false;
    };
    const auto endRecord = [&] {
        const bool blank = current.fields.empty() && !fieldStarted && field.empty();
        if (!blank) {
            endField();
            records.push_back(std::move(current));
        }
        current = Record { line + 1, {} };
    };

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        switch (c) {
        case '"':
            if (!field.empty() || wasQuoted)
                throw Error(line, "quote inside an unquoted field");
            inQuotes = true;
            wasQuoted = true;
            fieldStarted = true;
            break;
        case ',':
            endField();
            fieldStarted = true; // a comma always opens one more field
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n')
                break;
            throw Error(line, "carriage return without line feed");
        case '\n':
            endRecord();
            ++line;
            break;
        default:
            if (wasQuoted)
                throw Error(line, "text after a closing quote");
            field += c;
            fieldStarted = true;
        }
    }
    if (inQuotes)
        throw Error(current.line, "quoted field not closed");
    endRecord();
    return records;
}

} // namespace csv
