// Start-up benchmark: time from process start to the first paint of the
// window, and peak memory, for the viewer and for its yardsticks (floors),
// in interleaved rounds: each round runs every program once, the order
// turning from round to round. Prints per program the median time, the
// median of its per-round ratios against each floor, and the median peak
// RSS; then the viewer against the last floor given, with the targets.
//
//   bench_startup [--rounds N] [--workdir DIR]
//                 --floor NAME=PATH... --program NAME=PATH...
//
// Needs a display. Each run gets a fresh, empty settings store and a
// session bus address that leads nowhere, so that no side spends time
// looking for a bus.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr double kTargetRatio = 1.05;
constexpr double kTargetExtraMiB = 1.0;

long long nowNs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

struct Sample
{
    double ms;
    double maxRssMiB;
};

struct Program
{
    std::string name;
    std::string path;
    bool floor = false;
    std::vector<std::optional<Sample>> rounds;
};

std::optional<Sample> runOnce(
    const std::string &program, const fs::path &workdir, const fs::path &config)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return std::nullopt;
    const long long t0 = nowNs();
    const pid_t pid = fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0)
            dup2(devnull, STDERR_FILENO);
        setenv("VORLANE_REPORT_FIRST_PAINT", "1", 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        if (chdir(workdir.c_str()) != 0)
            _exit(126);
        execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(out[1]);

    std::string buffer;
    long long paintNs = -1;
    const long long deadline = t0 + 30'000'000'000LL;
    while (paintNs < 0 && nowNs() < deadline) {
        pollfd p { out[0], POLLIN, 0 };
        if (poll(&p, 1, 100) <= 0)
            continue;
        char chunk[256];
        const ssize_t n = read(out[0], chunk, sizeof chunk);
        if (n <= 0)
            break;
        buffer.append(chunk, std::size_t(n));
        const auto at = buffer.find("first-paint ");
        if (at != std::string::npos && buffer.find('\n', at) != std::string::npos)
            paintNs = std::atoll(buffer.c_str() + at + 12);
    }
    close(out[0]);
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) { }
    if (paintNs < 0)
        return std::nullopt;
    return Sample { double(paintNs - t0) / 1e6, double(usage.ru_maxrss) / 1024.0 };
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One field of the rounds in which the program showed a first paint.
std::vector<double> column(const Program &p, double Sample::*field)
{
    std::vector<double> v;
    for (const auto &s : p.rounds)
        if (s)
            v.push_back((*s).*field);
    return v;
}

std::vector<double> times(const Program &p)
{
    return column(p, &Sample::ms);
}

std::vector<double> peaks(const Program &p)
{
    return column(p, &Sample::maxRssMiB);
}

// The median of a / b over the rounds in which both showed a first paint.
double medianRatio(const Program &a, const Program &b)
{
    std::vector<double> v;
    for (std::size_t r = 0; r < a.rounds.size(); ++r)
        if (a.rounds[r] && b.rounds[r])
            v.push_back(a.rounds[r]->ms / b.rounds[r]->ms);
    return median(v);
}

std::optional<Program> parseProgram(const char *arg, bool floor)
{
    const std::string s = arg;
    const auto eq = s.find('=');
    if (eq == std::string::npos || eq == 0)
        return std::nullopt;
    return Program { s.substr(0, eq), fs::absolute(s.substr(eq + 1)), floor, {} };
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<Program> programs;
    std::optional<fs::path> workdir;
    int rounds = 30;
    bool usage = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--floor" || a == "--program") {
            auto p = parseProgram(argv[i + 1], a == "--floor");
            usage |= !p;
            if (p)
                programs.push_back(std::move(*p));
        } else if (a == "--rounds") {
            rounds = std::max(1, std::atoi(argv[i + 1]));
        } else if (a == "--workdir") {
            workdir = fs::absolute(argv[i + 1]);
        } else {
            usage = true;
        }
    }
    const auto isFloor = [](const Program &p) { return p.floor; };
    const auto floorCount = std::count_if(programs.begin(), programs.end(), isFloor);
    if (usage || argc % 2 == 0 || floorCount == 0
        || floorCount == std::ptrdiff_t(programs.size())) {
        std::fprintf(stderr,
            "usage: %s [--rounds N] [--workdir DIR] --floor NAME=PATH... --program NAME=PATH...\n",
            argv[0]);
        return 2;
    }

    char tmpl[] = "/tmp/vorlane-bench-XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    const fs::path tmp = tmpl;
    const fs::path emptyDir = tmp / "work";
    fs::create_directories(emptyDir);
    const fs::path dir = workdir.value_or(emptyDir);
    // Without a session bus Qt looks along the PATH for a way to start one;
    // an address that leads nowhere makes every side give up at once.
    const std::string noBus = "unix:path=" + (tmp / "no-session-bus").string();
    setenv("DBUS_SESSION_BUS_ADDRESS", noBus.c_str(), 1);

    int failures = 0;
    // One warm-up round (font and disk caches), then the counted ones.
    for (int r = -1; r < rounds; ++r) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            Program &p = programs[(k + std::size_t(r + 1)) % programs.size()];
            const fs::path config = tmp / ("config-" + std::to_string(r + 1) + "-" + p.name);
            fs::create_directories(config);
            const auto s = runOnce(p.path, dir, config);
            fs::remove_all(config);
            failures += !s;
            if (r >= 0)
                p.rounds.push_back(s);
        }
    }
    fs::remove_all(tmp);

    std::vector<const Program *> floors;
    for (const Program &p : programs)
        if (p.floor)
            floors.push_back(&p);
    std::printf("start-up to first paint: %d interleaved rounds (working directory %s)\n", rounds,
        dir.c_str());
    std::printf("  %-16s %9s", "program", "median");
    for (const Program *f : floors)
        std::printf("  %14s", ("x " + f->name).c_str());
    std::printf("  %9s\n", "peak RSS");
    for (const Program &p : programs) {
        if (times(p).empty()) {
            std::printf("  %-16s   no first paint in any round\n", p.name.c_str());
            continue;
        }
        std::printf("  %-16s %6.1f ms", p.name.c_str(), median(times(p)));
        for (const Program *f : floors)
            std::printf("  %12.2f x", medianRatio(p, *f));
        std::printf("  %5.1f MiB\n", median(peaks(p)));
    }
    std::printf("  (times and peak RSS are medians; ratios are medians of the per-round ratios)\n");

    const Program &content = *floors.back();
    for (const Program &p : programs) {
        if (p.floor || times(p).empty() || times(content).empty())
            continue;
        const double ratio = medianRatio(p, content);
        const double extra = median(peaks(p)) - median(peaks(content));
        const bool ok = ratio <= kTargetRatio && extra <= kTargetExtraMiB;
        std::printf("  %s against the %s: %.2f x (at most %.2f x), peak RSS %+.1f MiB (at most "
                    "%+.1f MiB): %s\n",
            p.name.c_str(), content.name.c_str(), ratio, kTargetRatio, extra, kTargetExtraMiB,
            ok ? "met" : "NOT met");
    }
    if (failures)
        std::printf("  %d run(s) showed no first paint and were left out\n", failures);
    return 0;
}
