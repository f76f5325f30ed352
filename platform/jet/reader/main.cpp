// vorlane-jetread: reads one table of an Access file for the engine, in a
// process of its own so that libmdb's crashes and hangs on damaged files
// stay here. The protocol goes to the original standard output; libmdb's
// own prints are sent to standard error, which the engine keeps as details.
#include "core.h"
#include "wire.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class WireSink : public jetread::RowSink
{
public:
    explicit WireSink(std::FILE *out)
        : out(out)
    {
    }

    void text(const std::string &s)
    {
        std::fprintf(out, "S%zu:", s.size());
        std::fwrite(s.data(), 1, s.size(), out);
    }
    void columns(const std::vector<std::string> &names) override
    {
        std::fprintf(out, "H%zu:", names.size());
        for (auto &n : names)
            text(n);
    }
    void row(const jetread::Row &values) override
    {
        std::fputc('R', out);
        for (auto &v : values) {
            if (v)
                text(*v);
            else
                std::fputc('N', out);
        }
    }
    void failure(jetread::Failure f, const std::string &detail)
    {
        std::fputc('E', out);
        std::fputc(char(f), out);
        text(detail);
    }

    std::FILE *out;
};

int usage()
{
    std::fprintf(
        stderr, "usage: vorlane-jetread [--memory-limit BYTES] -- FILE TABLE [FIELD...]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // Dies with the engine that started it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const rlimit noCore { 0, 0 };
    setrlimit(RLIMIT_CORE, &noCore);

    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--memory-limit") && i + 1 < argc) {
            const rlim_t bytes = std::strtoull(argv[++i], nullptr, 10);
            if (bytes) {
                const rlimit lim { bytes, bytes };
                setrlimit(RLIMIT_AS, &lim);
            }
        } else {
            return usage();
        }
    }
    if (i + 2 >= argc)
        return usage();
    const std::string path = argv[i + 1];
    const std::string table = argv[i + 2];
    std::vector<std::string> fields(argv + i + 3, argv + argc);

    // What a user's shell sets must not change what is read.
    for (const char *name : { "MDBPATH", "MDBICONV", "MDB_JET3_CHARSET", "MDBOPTS" })
        unsetenv(name);

    const int wireFd = dup(STDOUT_FILENO);
    if (wireFd < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 3;
    std::FILE *wire = fdopen(wireFd, "wb");
    if (!wire)
        return 3;
    static char buffer[1 << 16];
    std::setvbuf(wire, buffer, _IOFBF, sizeof buffer);

    WireSink sink(wire);
    std::fputs(jetwire::magic, wire);
    try {
        auto db = jetread::Database::openFile(path);
        db.readTable(table, fields, sink);
    } catch (const jetread::ReadError &e) {
        sink.failure(e.failure, e.detail);
    } catch (const std::bad_alloc &) {
        sink.failure(jetread::Failure::OutOfMemory, "out of memory");
    }
    std::fputc('Z', wire);
    std::fflush(wire);
    std::fflush(stdout);
    // Skip libmdb's and glib's teardown: nothing is left to write.
    _exit(std::ferror(wire) ? 3 : 0);
}
