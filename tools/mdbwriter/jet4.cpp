#include "jet4.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace jet4 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Page 0 is the header; page 1 holds every usage map as a row of its own;
// the catalog's definition must start at page 2, where readers look first.
constexpr std::uint32_t usageMapPage = 1;
constexpr std::uint32_t catalogPage = 2;

constexpr std::size_t dataPageHeader = 14; // up to the row offset table
constexpr std::size_t tdefContinuationHeader = 8;
constexpr std::size_t columnEntrySize = 25;
constexpr std::size_t tdefColumnsStart = 63;
constexpr int maxRowsPerPage = 255; // a row pointer holds the row in one byte
constexpr std::size_t maxRowSize = 4060;

// An inline usage map: type byte, first page, then one bit per page.
constexpr std::size_t usageMapRowSize = 64;
constexpr std::uint32_t usageMapCapacity = (usageMapRowSize - 5) * 8;

constexpr std::uint16_t generalSortOrder = 0x0409;
constexpr std::uint16_t codePage = 1252;

constexpr std::uint32_t topParentId = 0x0f000000;
constexpr std::uint32_t tablesId = 0x0f000001;
constexpr std::uint32_t databasesId = 0x0f000002;
constexpr std::uint32_t relationshipsId = 0x0f000003;
constexpr std::uint32_t dbPropertiesId = 0x0f000004;

constexpr std::int64_t systemObject = std::int32_t(0x80000000u);
constexpr std::int64_t systemTable = std::int32_t(0x80000002u);

void put16(Bytes &b, std::size_t at, std::uint16_t v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}

void put32(Bytes &b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (8 * i));
}

void putDouble(Bytes &b, std::size_t at, double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        b[at + i] = std::uint8_t(bits >> (8 * i));
}

void append16(Bytes &b, std::uint16_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

void appendUcs2(Bytes &b, const std::u16string &s)
{
    for (char16_t c : s)
        append16(b, std::uint16_t(c));
}

void rc4(const std::uint8_t *key, std::size_t keyLength, std::uint8_t *data, std::size_t length)
{
    std::array<std::uint8_t, 256> s;
    for (int i = 0; i < 256; ++i)
        s[i] = std::uint8_t(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLength]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (std::size_t n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 0xff];
    }
}

std::string narrow(const std::u16string &s)
{
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xc0 | (c >> 6));
            out += char(0x80 | (c & 0x3f));
        } else {
            out += char(0xe0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3f));
            out += char(0x80 | (c & 0x3f));
        }
    }
    return out;
}

bool isFixed(Type t)
{
    switch (t) {
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
    case Type::Double:
    case Type::DateTime:
        return true;
    default:
        return false;
    }
}

std::uint16_t storedLength(const Column &c)
{
    switch (c.type) {
    case Type::Boolean: // kept in the null mask
    case Type::Ole:
    case Type::Memo:
        return 0;
    case Type::Byte:
        return 1;
    case Type::Integer:
        return 2;
    case Type::Long:
        return 4;
    case Type::Double:
    case Type::DateTime:
        return 8;
    case Type::Binary:
        return 255;
    case Type::Text:
        return std::uint16_t(c.textLength * 2);
    }
    return 0;
}

struct ColumnLayout
{
    bool fixed = false;
    std::uint16_t fixedOffset = 0;
    std::uint16_t varIndex = 0;
    std::uint16_t length = 0;
};

struct Layout
{
    std::vector<ColumnLayout> columns;
    std::uint16_t fixedSize = 0;
    std::uint16_t varCount = 0;
};

Layout layoutOf(const Table &t)
{
    if (t.name.empty() || t.name.size() > 64)
        throw Error("table name must have 1 to 64 characters");
    if (t.columns.empty() || t.columns.size() > 255)
        throw Error("table " + narrow(t.name) + ": 1 to 255 columns");
    Layout l;
    for (const Column &c : t.columns) {
        if (c.name.empty() || c.name.size() > 64)
            throw Error("table " + narrow(t.name) + ": column name must have 1 to 64 characters");
        if (c.type == Type::Text && (c.textLength < 1 || c.textLength > 255))
            throw Error("column " + narrow(c.name) + ": text length must be 1 to 255");
        ColumnLayout cl;
        cl.fixed = isFixed(c.type);
        cl.length = storedLength(c);
        if (cl.fixed) {
            cl.fixedOffset = l.fixedSize;
            l.fixedSize += cl.length;
        } else {
            cl.varIndex = l.varCount++;
        }
        l.columns.push_back(cl);
    }
    for (std::size_t i = 0; i < t.columns.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (t.columns[i].name == t.columns[j].name)
                throw Error("table " + narrow(t.name) + ": column " + narrow(t.columns[i].name)
                    + " appears twice");
    return l;
}

Bytes encodeRow(const Table &t, const Layout &l, const std::vector<Value> &row)
{
    const std::size_t n = t.columns.size();
    if (row.size() != n)
        throw Error("table " + narrow(t.name) + ": row has " + std::to_string(row.size())
            + " values for " + std::to_string(n) + " columns");

    Bytes r(2 + l.fixedSize, 0);
    put16(r, 0, std::uint16_t(n));
    Bytes nullMask((n + 7) / 8, 0); // a set bit means "has a value"
    std::vector<std::uint16_t> varOffsets(l.varCount);
    std::vector<Bytes> varData(l.varCount);

    for (std::size_t i = 0; i < n; ++i) {
        const Column &c = t.columns[i];
        const ColumnLayout &cl = l.columns[i];
        const Value &v = row[i];
        const auto fail = [&](const char *what) {
            return Error("table " + narrow(t.name) + ", column " + narrow(c.name) + ": " + what);
        };
        if (std::holds_alternative<std::monostate>(v))
            continue;
        const std::size_t at = 2 + cl.fixedOffset;
        switch (c.type) {
        case Type::Boolean:
        case Type::Byte:
        case Type::Integer:
        case Type::Long: {
            if (!std::holds_alternative<std::int64_t>(v))
                throw fail("expects a whole number");
            const std::int64_t x = std::get<std::int64_t>(v);
            if (c.type == Type::Boolean) {
                if (x != 0 && x != 1)
                    throw fail("a boolean is 0 or 1");
                if (x == 0)
                    continue; // false is a clear bit
            } else if (c.type == Type::Byte) {
                if (x < 0 || x > 255)
                    throw fail("value out of range");
                r[at] = std::uint8_t(x);
            } else if (c.type == Type::Integer) {
                if (x < std::numeric_limits<std::int16_t>::min()
                    || x > std::numeric_limits<std::int16_t>::max())
                    throw fail("value out of range");
                put16(r, at, std::uint16_t(x));
            } else {
                if (x < std::numeric_limits<std::int32_t>::min()
                    || x > std::numeric_limits<std::int32_t>::max())
                    throw fail("value out of range");
                put32(r, at, std::uint32_t(x));
            }
            break;
        }
        case Type::Double:
        case Type::DateTime: {
            if (!std::holds_alternative<double>(v))
                throw fail("expects a number");
            const double x = std::get<double>(v);
            if (!std::isfinite(x))
                throw fail("a number must be finite");
            putDouble(r, at, x);
            break;
        }
        case Type::Text: {
            if (!std::holds_alternative<std::u16string>(v))
                throw fail("expects a text");
            const auto &s = std::get<std::u16string>(v);
            if (s.size() > std::size_t(c.textLength))
                throw fail("text longer than the field");
            appendUcs2(varData[cl.varIndex], s);
            break;
        }
        default:
            throw fail("only NULL can be stored in this type");
        }
        nullMask[i / 8] |= std::uint8_t(1u << (i % 8));
    }

    if (l.varCount > 0) {
        for (std::uint16_t v = 0; v < l.varCount; ++v) {
            varOffsets[v] = std::uint16_t(r.size());
            r.insert(r.end(), varData[v].begin(), varData[v].end());
        }
        append16(r, std::uint16_t(r.size())); // end of the variable data
        for (std::uint16_t v = l.varCount; v > 0; --v)
            append16(r, varOffsets[v - 1]);
        append16(r, l.varCount);
    }
    r.insert(r.end(), nullMask.begin(), nullMask.end());
    return r;
}

// Rows go from the end of a page towards its row offset table, row 0 last
// in the page; readers return them page by page in slot order.
std::vector<Bytes> packRows(const std::vector<Bytes> &rows, const std::string &tableName)
{
    std::vector<Bytes> pages;
    Bytes page;
    std::size_t tableEnd = 0, dataStart = 0;
    int count = 0;
    const auto finish = [&] {
        put16(page, 2, std::uint16_t(dataStart - tableEnd));
        put16(page, 12, std::uint16_t(count));
        pages.push_back(std::move(page));
    };
    const auto start = [&] {
        page.assign(pageSize, 0);
        page[0] = 0x01;
        page[1] = 0x01;
        tableEnd = dataPageHeader;
        dataStart = pageSize;
        count = 0;
    };
    for (const Bytes &row : rows) {
        if (row.size() > maxRowSize)
            throw Error("table " + tableName + ": a row does not fit in a page");
        if (page.empty() || count == maxRowsPerPage || tableEnd + 2 + row.size() > dataStart) {
            if (!page.empty())
                finish();
            start();
        }
        dataStart -= row.size();
        std::copy(row.begin(), row.end(), page.begin() + std::ptrdiff_t(dataStart));
        put16(page, tableEnd, std::uint16_t(dataStart));
        tableEnd += 2;
        ++count;
    }
    if (!page.empty())
        finish();
    return pages;
}

Bytes tableDefinition(
    const Table &t, const Layout &l, bool system, std::uint32_t usedMap, std::uint32_t freeMap)
{
    Bytes b(tdefColumnsStart, 0);
    b[0] = 0x02;
    b[1] = 0x01;
    put32(b, 16, std::uint32_t(t.rows.size()));
    b[24] = 0x01;
    b[40] = system ? 0x53 : 0x4e;
    const auto n = std::uint16_t(t.columns.size());
    put16(b, 41, n); // most columns a row has ever had
    put16(b, 43, l.varCount);
    put16(b, 45, n);
    put32(b, 55, usedMap);
    put32(b, 59, freeMap);

    for (std::uint16_t i = 0; i < n; ++i) {
        const Column &c = t.columns[i];
        const ColumnLayout &cl = l.columns[i];
        Bytes e(columnEntrySize, 0);
        e[0] = std::uint8_t(c.type);
        put16(e, 5, i);
        put16(e, 7, cl.fixed ? 0 : cl.varIndex);
        put16(e, 9, i);
        if (c.type == Type::Text || c.type == Type::Memo)
            put16(e, 11, generalSortOrder);
        e[15] = std::uint8_t(0x02 | (cl.fixed ? 0x01 : 0x00));
        put16(e, 21, cl.fixed ? cl.fixedOffset : 0);
        put16(e, 23, cl.length);
        b.insert(b.end(), e.begin(), e.end());
    }
    for (const Column &c : t.columns) {
        append16(b, std::uint16_t(c.name.size() * 2));
        appendUcs2(b, c.name);
    }
    append16(b, 0xffff); // no long-value column usage entries
    put32(b, 8, std::uint32_t(b.size()));
    return b;
}

std::size_t tdefPageCount(const Bytes &tdef)
{
    if (tdef.size() <= pageSize)
        return 1;
    const std::size_t rest = tdef.size() - pageSize;
    const std::size_t perPage = pageSize - tdefContinuationHeader;
    return 1 + (rest + perPage - 1) / perPage;
}

void writeTableDefinition(Bytes &file, const Bytes &tdef, std::uint32_t firstPage)
{
    const std::size_t pages = tdefPageCount(tdef);
    std::size_t from = 0;
    for (std::size_t p = 0; p < pages; ++p) {
        Bytes page(pageSize, 0);
        std::size_t used;
        if (p == 0) {
            used = std::min(tdef.size(), pageSize);
            std::copy_n(tdef.begin(), used, page.begin());
        } else {
            page[0] = 0x02;
            page[1] = 0x01;
            const std::size_t chunk
                = std::min(tdef.size() - from, pageSize - tdefContinuationHeader);
            std::copy_n(
                tdef.begin() + std::ptrdiff_t(from), chunk, page.begin() + tdefContinuationHeader);
            used = tdefContinuationHeader + chunk;
        }
        from += p == 0 ? used : used - tdefContinuationHeader;
        put16(page, 2, std::uint16_t(pageSize - used));
        put32(page, 4, p + 1 < pages ? std::uint32_t(firstPage + p + 1) : 0);
        std::copy(
            page.begin(), page.end(), file.begin() + std::ptrdiff_t((firstPage + p) * pageSize));
    }
}

Bytes usageMap(const std::vector<std::uint32_t> &pages)
{
    Bytes m(usageMapRowSize, 0);
    m[0] = 0x00; // inline bitmap, starting at page 0
    for (std::uint32_t p : pages)
        m[5 + p / 8] |= std::uint8_t(1u << (p % 8));
    return m;
}

void writeHeader(Bytes &file, const Options &o)
{
    Bytes h(pageSize, 0);
    h[1] = 0x01;
    const char engine[] = "Standard Jet DB";
    std::memcpy(&h[4], engine, sizeof engine);
    h[0x14] = 0x01; // Jet 4
    put16(h, 0x3c, codePage);
    put32(h, 0x3e, 0); // no page encoding
    // An empty password reads back as the mask made of the creation date.
    const auto mask = std::uint32_t(std::int32_t(std::floor(o.creationDate)));
    for (int i = 0; i < 40; ++i)
        h[0x42 + i] = std::uint8_t(mask >> (8 * (i % 4)));
    put16(h, 0x6e, generalSortOrder);
    putDouble(h, 0x72, o.creationDate);
    static constexpr std::uint8_t key[] = { 0xc7, 0xda, 0x39, 0x6b };
    rc4(key, sizeof key, &h[0x18], 128);
    std::copy(h.begin(), h.end(), file.begin());
}

Column col(const char16_t *name, Type type, int textLength = 0)
{
    return Column { name, type, textLength };
}

Table catalogTable()
{
    return Table { u"MSysObjects",
        { col(u"Id", Type::Long), col(u"ParentId", Type::Long), col(u"Name", Type::Text, 255),
            col(u"Owner", Type::Binary), col(u"Flags", Type::Long), col(u"Type", Type::Integer),
            col(u"DateCreate", Type::DateTime), col(u"DateUpdate", Type::DateTime),
            col(u"Connect", Type::Memo), col(u"Database", Type::Memo),
            col(u"ForeignName", Type::Text, 255), col(u"RmtInfoShort", Type::Binary),
            col(u"RmtInfoLong", Type::Ole), col(u"Lv", Type::Ole), col(u"LvExtra", Type::Ole),
            col(u"LvModule", Type::Ole), col(u"LvProp", Type::Ole) },
        {} };
}

std::vector<Table> otherSystemTables()
{
    return {
        Table { u"MSysACEs",
            { col(u"ACM", Type::Long), col(u"FInheritable", Type::Boolean),
                col(u"ObjectId", Type::Long), col(u"SID", Type::Binary) },
            {} },
        Table { u"MSysQueries",
            { col(u"Attribute", Type::Byte), col(u"Expression", Type::Memo),
                col(u"Flag", Type::Integer), col(u"LvExtra", Type::Ole), col(u"Name1", Type::Memo),
                col(u"Name2", Type::Memo), col(u"ObjectId", Type::Long),
                col(u"Order", Type::Binary) },
            {} },
        Table { u"MSysRelationships",
            { col(u"ccolumn", Type::Long), col(u"grbit", Type::Long), col(u"icolumn", Type::Long),
                col(u"szColumn", Type::Text, 255), col(u"szObject", Type::Text, 255),
                col(u"szReferencedColumn", Type::Text, 255),
                col(u"szReferencedObject", Type::Text, 255),
                col(u"szRelationship", Type::Text, 255) },
            {} },
    };
}

std::vector<Value> catalogRow(std::int64_t id, std::int64_t parentId, const std::u16string &name,
    std::int64_t flags, std::int64_t type, double date)
{
    std::vector<Value> row(17);
    row[0] = id;
    row[1] = parentId;
    row[2] = name;
    row[4] = flags;
    row[5] = type;
    row[6] = date;
    row[7] = date;
    return row;
}

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

bool sameName(const std::u16string &a, const std::u16string &b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
            [](char16_t x, char16_t y) { return asciiLower(x) == asciiLower(y); });
}

} // namespace

std::vector<std::uint8_t> buildDatabase(
    const std::vector<Table> &userTables, const Options &options)
{
    if (!std::isfinite(options.creationDate) || options.creationDate < 0)
        throw Error("creation date out of range");

    std::vector<Table> tables;
    tables.push_back(catalogTable());
    for (Table &t : otherSystemTables())
        tables.push_back(std::move(t));
    const std::size_t systemCount = tables.size();
    for (const Table &t : userTables) {
        for (const Table &seen : tables)
            if (sameName(seen.name, t.name))
                throw Error("table name " + narrow(t.name) + " used twice");
        tables.push_back(t);
    }

    // The catalog's rows are known but for the pages of the definitions,
    // which do not change the size of any row: lay out everything once
    // with the row count, then fill in the ids.
    std::vector<Layout> layouts;
    for (const Table &t : tables)
        layouts.push_back(layoutOf(t));

    const std::size_t catalogRows = 4 + tables.size();
    std::vector<Bytes> tdefs;
    std::vector<std::uint32_t> tdefPages;
    std::uint32_t nextPage = catalogPage;
    for (std::size_t k = 0; k < tables.size(); ++k) {
        Table sized = tables[k];
        if (k == 0)
            sized.rows.resize(catalogRows);
        const auto used = std::uint32_t((usageMapPage << 8) | (1 + 2 * k));
        const auto free = std::uint32_t((usageMapPage << 8) | (2 + 2 * k));
        tdefs.push_back(tableDefinition(sized, layouts[k], k < systemCount, used, free));
        tdefPages.push_back(nextPage);
        nextPage += std::uint32_t(tdefPageCount(tdefs.back()));
    }

    const double date = options.creationDate;
    Table &catalog = tables[0];
    catalog.rows = {
        catalogRow(tablesId, topParentId, u"Tables", systemObject, 3, date),
        catalogRow(databasesId, topParentId, u"Databases", systemObject, 3, date),
        catalogRow(relationshipsId, topParentId, u"Relationships", systemObject, 3, date),
        catalogRow(dbPropertiesId, databasesId, u"MSysDb", systemObject, 2, date),
    };
    for (std::size_t k = 0; k < tables.size(); ++k)
        catalog.rows.push_back(catalogRow(
            tdefPages[k], tablesId, tables[k].name, k < systemCount ? systemTable : 0, 1, date));

    const std::size_t usageRows = 1 + 2 * tables.size();
    if (usageRows * (usageMapRowSize + 2) > pageSize - dataPageHeader)
        throw Error("too many tables");

    std::vector<std::vector<Bytes>> dataPages;
    std::vector<std::vector<std::uint32_t>> dataPageNumbers;
    for (std::size_t k = 0; k < tables.size(); ++k) {
        std::vector<Bytes> rows;
        for (const auto &row : tables[k].rows)
            rows.push_back(encodeRow(tables[k], layouts[k], row));
        dataPages.push_back(packRows(rows, narrow(tables[k].name)));
        dataPageNumbers.emplace_back();
        for (Bytes &page : dataPages.back()) {
            put32(page, 4, tdefPages[k]);
            dataPageNumbers.back().push_back(nextPage++);
        }
    }
    if (nextPage > usageMapCapacity)
        throw Error("database too large for this writer");

    Bytes file(std::size_t(nextPage) * pageSize, 0);
    writeHeader(file, options);

    Bytes maps(pageSize, 0);
    maps[0] = 0x01;
    maps[1] = 0x01;
    std::vector<Bytes> mapRows { usageMap({}) }; // the global map: no free pages
    for (std::size_t k = 0; k < tables.size(); ++k) {
        mapRows.push_back(usageMap(dataPageNumbers[k]));
        mapRows.push_back(usageMap(dataPageNumbers[k])); // every data page has room left
    }
    std::size_t dataStart = pageSize;
    for (std::size_t r = 0; r < mapRows.size(); ++r) {
        dataStart -= mapRows[r].size();
        std::copy(mapRows[r].begin(), mapRows[r].end(), maps.begin() + std::ptrdiff_t(dataStart));
        put16(maps, dataPageHeader + 2 * r, std::uint16_t(dataStart));
    }
    put16(maps, 2, std::uint16_t(dataStart - (dataPageHeader + 2 * mapRows.size())));
    put16(maps, 12, std::uint16_t(mapRows.size()));
    std::copy(maps.begin(), maps.end(), file.begin() + usageMapPage * pageSize);

    for (std::size_t k = 0; k < tables.size(); ++k) {
        writeTableDefinition(file, tdefs[k], tdefPages[k]);
        for (std::size_t p = 0; p < dataPages[k].size(); ++p)
            std::copy(dataPages[k][p].begin(), dataPages[k][p].end(),
                file.begin() + std::ptrdiff_t(dataPageNumbers[k][p] * pageSize));
    }
    return file;
}

} // namespace jet4
