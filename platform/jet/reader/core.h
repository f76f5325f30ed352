// The reading side of the Access engine: checks a file, finds a table in
// MSysObjects and delivers its rows as text. Plain C++ over libmdb, no Qt,
// so that the reader process starts fast; the fuzz target drives it
// in-process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace jetread {

enum class Failure : char {
    CannotOpen = 'O',
    NotAccess = 'A',
    Damaged = 'D',
    TableNotFound = 'T',
    FieldNotFound = 'F',
    OutOfMemory = 'M',
};

class ReadError
{
public:
    ReadError(Failure failure, std::string detail)
        : failure(failure)
        , detail(std::move(detail))
    {
    }
    Failure failure;
    std::string detail; // the missing name, or what was wrong
};

struct Header
{
    int version; // byte 0x14: 0 Jet 3, 1 Jet 4, 2.. ACE
    std::size_t pageSize;
};

// Checks the first page's signature and version and that the size is a
// non-zero whole number of pages. Throws ReadError.
Header checkHeader(const unsigned char *data, std::size_t available, std::uint64_t fileSize);

// The iconv name for a Jet 3 code page; nullptr leaves libmdb's choice.
const char *jet3Charset(unsigned codePage);

using Row = std::vector<std::optional<std::string>>;

class RowSink
{
public:
    virtual ~RowSink() = default;
    virtual void columns(const std::vector<std::string> &names) = 0;
    virtual void row(const Row &values) = 0;
};

struct TableEntry
{
    std::string name;
    std::uint32_t page;
};

class Database
{
public:
    // Both check the header before libmdb sees the bytes. Throw ReadError.
    static Database openFile(const std::string &path);
    static Database openBuffer(const void *data, std::size_t size);

    Database(Database &&) noexcept;
    Database &operator=(Database &&) noexcept;
    ~Database();

    // The local tables listed in MSysObjects, read directly.
    std::vector<TableEntry> tables();
    // Every row of `table` with `fields` (all when empty), in libmdb's order.
    void readTable(const std::string &table, const std::vector<std::string> &fields, RowSink &sink);

private:
    struct Private;
    explicit Database(std::unique_ptr<Private> d);
    std::unique_ptr<Private> d;
};

} // namespace jetread
