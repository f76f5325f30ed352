#include "core.h"

#include "format.h"

// Debian's <mdbtools.h> includes <glib.h> inside extern "C".
#include <glib.h>
#include <mdbtools.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace jetread {

namespace {

constexpr int offsetMask = 0x1fff; // row offsets carry flags in the top bits
constexpr std::size_t memoBindSize = std::size_t(1) << 20;

[[noreturn]] void fail(Failure f, std::string detail)
{
    throw ReadError(f, std::move(detail));
}

std::uint32_t u32(const unsigned char *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
        | std::uint32_t(p[3]) << 24;
}

std::uint64_t u64(const unsigned char *p)
{
    return std::uint64_t(u32(p)) | std::uint64_t(u32(p + 4)) << 32;
}

struct MdbCloser
{
    void operator()(MdbHandle *h) const { mdb_close(h); }
};
struct TableFreer
{
    void operator()(MdbTableDef *t) const { mdb_free_tabledef(t); }
};
struct GFreer
{
    void operator()(char *p) const { g_free(p); }
};

struct OpenTable
{
    std::unique_ptr<MdbCatalogEntry> entry; // the table def points at it
    std::unique_ptr<MdbTableDef, TableFreer> def;
};

} // namespace

Header checkHeader(const unsigned char *data, std::size_t available, std::uint64_t fileSize)
{
    if (fileSize == 0)
        fail(Failure::NotAccess, "the file is empty");
    static const char jet[] = "Standard Jet DB";
    static const char ace[] = "Standard ACE DB";
    if (available < 0x15 || data[0] != 0)
        fail(Failure::NotAccess, "no Access file signature");
    const bool isJet = std::memcmp(data + 4, jet, sizeof jet) == 0;
    const bool isAce = std::memcmp(data + 4, ace, sizeof ace) == 0;
    if (!isJet && !isAce)
        fail(Failure::NotAccess, "no Access file signature");
    const int version = data[0x14];
    const bool known = isJet ? (version == MDB_VER_JET3 || version == MDB_VER_JET4)
                             : (version >= MDB_VER_ACCDB_2007 && version <= MDB_VER_ACCDB_2019);
    if (!known)
        fail(Failure::NotAccess, "unknown format version " + std::to_string(version));
    Header h { version, version == MDB_VER_JET3 ? std::size_t(2048) : std::size_t(4096) };
    if (fileSize % h.pageSize != 0)
        fail(Failure::Damaged, "the size is not a whole number of pages");
    // Page 2 holds MSysObjects.
    if (fileSize < 3 * h.pageSize)
        fail(Failure::Damaged, "the file is too short");
    return h;
}

const char *jet3Charset(unsigned codePage)
{
    // Windows code pages by their glibc names; libmdb would take
    // "SHIFT-JIS" for 932, which lacks the Windows additions (～, ①, ...).
    switch (codePage) {
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1252:
        return "CP1252";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    default:
        return nullptr;
    }
}

struct Database::Private
{
    std::vector<unsigned char> buffer; // backs a handle opened on memory
    std::unique_ptr<MdbHandle, MdbCloser> mdb;
    Header header {};
    std::uint64_t fileSize = 0;

    void setUp()
    {
        MdbHandle *h = mdb.get();
        mdb_set_bind_size(h, memoBindSize);
        if (h->f->jet_version != MDB_VER_JET3)
            return;
        const char *charset = jet3Charset(h->f->code_page);
        if (!charset)
            return;
        if (h->iconv_in != (iconv_t)-1)
            iconv_close(h->iconv_in);
        if (h->iconv_out != (iconv_t)-1)
            iconv_close(h->iconv_out);
        h->iconv_in = iconv_open("UTF-8", charset);
        h->iconv_out = iconv_open(charset, "UTF-8");
    }

    // Every page the map lists must lie in the file and be one of this
    // table's data pages. libmdb only warns and skips a page that is not,
    // so a truncated or damaged table would read short without a word.
    void checkUsageMap(const std::string &name, MdbTableDef *t)
    {
        const std::uint64_t pages = fileSize / header.pageSize;
        // libmdb reads the page just past the end as zeros: an empty map.
        MdbHandle *h = mdb.get();
        const std::uint32_t mapRow
            = std::uint32_t(mdb_get_int32(h->pg_buf, h->fmt->tab_usage_map_offset));
        if ((mapRow >> 8) >= pages)
            fail(Failure::Damaged, "table " + name + ": usage map lies outside the file");
        std::uint32_t page = 0;
        for (;;) {
            const gint32 next
                = mdb_map_find_next(mdb.get(), t->usage_map, unsigned(t->map_sz), page);
            if (next == 0)
                return;
            if (next < 0 || std::uint32_t(next) <= page || std::uint64_t(next) >= pages)
                fail(Failure::Damaged,
                    "table " + name + ": usage map names page " + std::to_string(next) + " of "
                        + std::to_string(pages));
            page = std::uint32_t(next);
            checkDataPage(name, page, t->entry->table_pg);
        }
    }

    // Read into the spare buffer: pg_buf still holds the definition that
    // the column read goes on with.
    void checkDataPage(const std::string &name, std::uint32_t page, std::uint32_t owner)
    {
        MdbHandle *h = mdb.get();
        if (mdb_read_alt_pg(h, page) != ssize_t(header.pageSize))
            fail(Failure::Damaged,
                "table " + name + ": data page " + std::to_string(page) + " unreadable");
        const unsigned char *p = h->alt_pg_buf;
        const int type = p[0];
        const std::uint32_t pageOwner = u32(p + 4);
        if (type != 0x01 || pageOwner != owner)
            fail(Failure::Damaged,
                "table " + name + ": page " + std::to_string(page) + " of its map is "
                    + (type != 0x01
                            ? "not a data page (type " + std::to_string(type) + ")"
                            : "a data page of the table at page " + std::to_string(pageOwner)));
    }

    OpenTable open(const std::string &name, std::uint32_t page)
    {
        if (page < 2 || std::uint64_t(page) * header.pageSize >= fileSize)
            fail(Failure::Damaged,
                "table " + name + ": page " + std::to_string(page) + " lies outside the file");
        OpenTable t;
        t.entry = std::make_unique<MdbCatalogEntry>();
        std::memset(t.entry.get(), 0, sizeof(MdbCatalogEntry));
        t.entry->mdb = mdb.get();
        t.entry->object_type = MDB_TABLE;
        t.entry->table_pg = page;
        std::snprintf(t.entry->object_name, sizeof t.entry->object_name, "%s", name.c_str());
        t.def.reset(mdb_read_table(t.entry.get()));
        if (!t.def)
            fail(Failure::Damaged, "table " + name + ": no readable definition");
        // libmdb's row fetch dereferences the usage map unchecked.
        if (!t.def->usage_map || t.def->map_sz == 0)
            fail(Failure::Damaged, "table " + name + ": usage map missing");
        checkUsageMap(name, t.def.get());
        if (!mdb_read_columns(t.def.get()) || t.def->columns->len != t.def->num_cols)
            fail(Failure::Damaged, "table " + name + ": columns unreadable");
        return t;
    }

    // Calls f(fields) for every live row, in libmdb's order.
    template <typename F> void forEachRow(MdbTableDef *t, F &&f)
    {
        MdbHandle *h = mdb.get();
        std::vector<MdbField> fields(t->num_cols + 1);
        mdb_rewind_table(t);
        while (mdb_fetch_row(t)) {
            // mdb_fetch_row leaves the row's page in pg_buf; crack it again
            // for the raw values and the null mask that binding loses.
            int start = 0;
            size_t size = 0;
            if (t->cur_row == 0 || mdb_find_row(h, int(t->cur_row - 1), &start, &size) != 0)
                fail(Failure::Damaged, std::string("table ") + t->name + ": row lost");
            if (mdb_crack_row(t, start & offsetMask, size, fields.data()) < 0)
                fail(Failure::Damaged, std::string("table ") + t->name + ": row unreadable");
            f(fields);
        }
    }

    std::string text(const MdbField &f)
    {
        std::string out(std::size_t(f.siz) * 3 + 4, '\0');
        const int n = mdb_unicode2ascii(mdb.get(), static_cast<const char *>(f.value),
            std::size_t(f.siz), out.data(), out.size());
        out.resize(std::size_t(n > 0 ? n : 0));
        return out;
    }

    std::optional<std::string> value(const MdbColumn *col, const MdbField &f)
    {
        if (col->col_type == MDB_BOOL) // the null bit is the value
            return f.is_null ? "False" : "True";
        if (f.is_null)
            return std::nullopt;
        if (f.siz < 0 || !f.value)
            fail(Failure::Damaged, std::string("column ") + col->name + ": bad value location");
        const auto *p = static_cast<const unsigned char *>(f.value);
        auto need = [&](int n) {
            if (f.siz < n)
                fail(Failure::Damaged, std::string("column ") + col->name + ": value too short");
        };
        switch (col->col_type) {
        case MDB_BYTE:
            need(1);
            return std::to_string(p[0]);
        case MDB_INT:
            need(2);
            return std::to_string(std::int16_t(p[0] | p[1] << 8));
        case MDB_LONGINT:
        case MDB_COMPLEX:
            need(4);
            return std::to_string(std::int32_t(u32(p)));
        case MDB_MONEY:
            need(8);
            return formatCurrency(std::int64_t(u64(p)));
        case MDB_FLOAT: {
            need(4);
            const std::uint32_t bits = u32(p);
            float v;
            std::memcpy(&v, &bits, 4);
            return formatSingle(v);
        }
        case MDB_DOUBLE:
        case MDB_DATETIME: {
            need(8);
            const std::uint64_t bits = u64(p);
            double v;
            std::memcpy(&v, &bits, 8);
            return col->col_type == MDB_DOUBLE ? formatDouble(v) : formatDateTime(v);
        }
        case MDB_NUMERIC: {
            need(17);
            const std::uint32_t words[4] = { u32(p + 1), u32(p + 5), u32(p + 9), u32(p + 13) };
            return formatDecimal(words, p[0] & 0x80, col->col_scale);
        }
        case MDB_TEXT:
            return text(f);
        case MDB_MEMO: {
            std::unique_ptr<char, GFreer> s(
                mdb_col_to_string(mdb.get(), mdb->pg_buf, f.start, MDB_MEMO, f.siz));
            return std::string(s ? s.get() : "");
        }
        case MDB_REPID: {
            need(16);
            char b[40];
            std::snprintf(b, sizeof b, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", u32(p),
                unsigned(p[4] | p[5] << 8), unsigned(p[6] | p[7] << 8), p[8], p[9], p[10], p[11],
                p[12], p[13], p[14], p[15]);
            return std::string(b);
        }
        case MDB_BINARY: {
            static const char hex[] = "0123456789ABCDEF";
            std::string out;
            for (int i = 0; i < f.siz; ++i) {
                out += hex[p[i] >> 4];
                out += hex[p[i] & 15];
            }
            return out;
        }
        default: // OLE objects and unknown types have no text form
            return std::string();
        }
    }

    std::vector<TableEntry> tables()
    {
        OpenTable sys = open("MSysObjects", 2);
        int id = -1, nameCol = -1, type = -1;
        for (unsigned i = 0; i < sys.def->num_cols; ++i) {
            auto *c = static_cast<MdbColumn *>(g_ptr_array_index(sys.def->columns, i));
            if (!std::strcmp(c->name, "Id") && c->col_type == MDB_LONGINT)
                id = int(i);
            else if (!std::strcmp(c->name, "Name") && c->col_type == MDB_TEXT)
                nameCol = int(i);
            else if (!std::strcmp(c->name, "Type") && c->col_type == MDB_INT)
                type = int(i);
        }
        if (id < 0 || nameCol < 0 || type < 0)
            fail(Failure::Damaged, "MSysObjects lacks Id, Name or Type");

        std::vector<TableEntry> out;
        bool listsItself = false;
        forEachRow(sys.def.get(), [&](const std::vector<MdbField> &fields) {
            const MdbField *fid = &fields[unsigned(id)], *fname = &fields[unsigned(nameCol)],
                           *ftype = &fields[unsigned(type)];
            if (fid->is_null || fname->is_null || ftype->is_null)
                return;
            if (fid->siz < 4 || ftype->siz < 2 || fname->siz < 0)
                fail(Failure::Damaged, "MSysObjects: a row too short");
            const auto *t = static_cast<const unsigned char *>(ftype->value);
            if ((t[0] | t[1] << 8) != 1) // 1: a local table
                return;
            const std::uint32_t page
                = u32(static_cast<const unsigned char *>(fid->value)) & 0x00ffffff;
            out.push_back({ text(*fname), page });
            listsItself = listsItself || (page == 2 && out.back().name == "MSysObjects");
        });
        // Jet always lists the catalog in itself. Without that row the
        // catalog has lost rows, and a table asked for is not "not there".
        if (!listsItself)
            fail(Failure::Damaged, "MSysObjects does not list itself");
        return out;
    }

    void readTable(const std::string &table, const std::vector<std::string> &fields, RowSink &sink)
    {
        std::optional<TableEntry> found;
        for (auto &e : tables()) {
            if (e.name == table) {
                found = e;
                break;
            }
        }
        if (!found)
            fail(Failure::TableNotFound, table);
        OpenTable t = open(found->name, found->page);

        std::vector<const MdbColumn *> columns(t.def->num_cols);
        for (unsigned i = 0; i < t.def->num_cols; ++i)
            columns[i] = static_cast<MdbColumn *>(g_ptr_array_index(t.def->columns, i));
        // wanted[k]: the column index that feeds output slot k.
        std::vector<unsigned> wanted;
        std::vector<std::string> names;
        if (fields.empty()) {
            for (unsigned i = 0; i < columns.size(); ++i) {
                wanted.push_back(i);
                names.push_back(columns[i]->name);
            }
        } else {
            for (const auto &name : fields) {
                unsigned i = 0;
                while (i < columns.size() && name != columns[i]->name)
                    ++i;
                if (i == columns.size())
                    fail(Failure::FieldNotFound, name);
                wanted.push_back(i);
                names.push_back(name);
            }
        }
        sink.columns(names);

        // mdb_crack_row fills fields[i] for columns[i].
        Row row(wanted.size());
        forEachRow(t.def.get(), [&](const std::vector<MdbField> &cracked) {
            for (std::size_t k = 0; k < wanted.size(); ++k)
                row[k] = value(columns[wanted[k]], cracked[wanted[k]]);
            sink.row(row);
        });
    }
};

Database::Database(std::unique_ptr<Private> d)
    : d(std::move(d))
{
}
Database::Database(Database &&) noexcept = default;
Database &Database::operator=(Database &&) noexcept = default;
Database::~Database() = default;

Database Database::openFile(const std::string &path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        fail(Failure::CannotOpen, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        fail(Failure::CannotOpen, "not a regular file");
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        fail(Failure::CannotOpen, std::strerror(errno));
    unsigned char head[0x80];
    const std::size_t n = std::fread(head, 1, sizeof head, f);
    std::fclose(f);

    auto p = std::make_unique<Private>();
    p->fileSize = std::uint64_t(st.st_size);
    p->header = checkHeader(head, n, p->fileSize);
    p->mdb.reset(mdb_open(path.c_str(), MDB_NOFLAGS));
    if (!p->mdb)
        fail(Failure::Damaged, "libmdb could not open the file");
    p->setUp();
    return Database(std::move(p));
}

Database Database::openBuffer(const void *data, std::size_t size)
{
    auto p = std::make_unique<Private>();
    const auto *bytes = static_cast<const unsigned char *>(data);
    p->fileSize = size;
    p->header = checkHeader(bytes, size, size);
    p->buffer.assign(bytes, bytes + size);
    p->mdb.reset(mdb_open_buffer(p->buffer.data(), p->buffer.size(), MDB_NOFLAGS));
    if (!p->mdb)
        fail(Failure::Damaged, "libmdb could not open the buffer");
    p->setUp();
    return Database(std::move(p));
}

std::vector<TableEntry> Database::tables()
{
    return d->tables();
}

void Database::readTable(
    const std::string &table, const std::vector<std::string> &fields, RowSink &sink)
{
    d->readTable(table, fields, sink);
}

} // namespace jetread
