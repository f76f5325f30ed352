// The reader's open path in-process: header check, MSysObjects walk and
// table reads, without the reader process around it.
#include "core.h"

#include <cstdint>
#include <cstdlib>

namespace {

class NullSink : public jetread::RowSink
{
public:
    void columns(const std::vector<std::string> &) override { }
    void row(const jetread::Row &values) override
    {
        for (auto &v : values)
            if (v)
                bytes += v->size();
    }
    std::size_t bytes = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    for (const char *name : { "MDBPATH", "MDBICONV", "MDB_JET3_CHARSET", "MDBOPTS" })
        unsetenv(name);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    NullSink sink;
    try {
        auto db = jetread::Database::openBuffer(data, size);
        int tables = 0;
        for (const auto &t : db.tables()) {
            if (++tables > 8)
                break;
            try {
                db.readTable(t.name, {}, sink);
            } catch (const jetread::ReadError &) {
            }
        }
    } catch (const jetread::ReadError &) {
    }
    return 0;
}
