// Start-up benchmark: time from process start to the first paint of the
// main window, and peak memory, for the viewer and for a bare Qt window of
// the same size, run alternately in the same session. Prints medians and
// the ratio viewer / bare.
//
//   bench_startup --viewer PATH --bare PATH [--runs N] [--workdir DIR]
//
// Needs a display. Each run gets a fresh, empty settings store.
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
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    std::string viewer, bare;
    std::optional<fs::path> workdir;
    int runs = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--viewer")
            viewer = fs::absolute(argv[i + 1]);
        else if (a == "--bare")
            bare = fs::absolute(argv[i + 1]);
        else if (a == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--workdir")
            workdir = fs::absolute(argv[i + 1]);
    }
    if (viewer.empty() || bare.empty()) {
        std::fprintf(
            stderr, "usage: %s --viewer PATH --bare PATH [--runs N] [--workdir DIR]\n", argv[0]);
        return 2;
    }

    char tmpl[] = "/tmp/vorlane-bench-XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    const fs::path tmp = tmpl;
    const fs::path emptyDir = tmp / "work";
    fs::create_directories(emptyDir);
    const fs::path dir = workdir.value_or(emptyDir);

    std::vector<double> viewerMs, viewerMiB, bareMs, bareMiB;
    int failures = 0;
    // One warm-up of each (font and disk caches), then alternate.
    for (int i = -1; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) {
            const bool isViewer = (which == 0) == (i % 2 == 0);
            const fs::path config
                = tmp / ("config" + std::to_string(i + 1) + (isViewer ? "v" : "b"));
            fs::create_directories(config);
            const auto s = runOnce(isViewer ? viewer : bare, dir, config);
            if (!s) {
                ++failures;
                continue;
            }
            if (i < 0)
                continue;
            (isViewer ? viewerMs : bareMs).push_back(s->ms);
            (isViewer ? viewerMiB : bareMiB).push_back(s->maxRssMiB);
        }
    }
    fs::remove_all(tmp);
    if (viewerMs.empty() || bareMs.empty()) {
        std::fprintf(stderr, "no first paint seen (%d failed runs)\n", failures);
        return 1;
    }

    const double vt = median(viewerMs), bt = median(bareMs);
    const double vm = median(viewerMiB), bm = median(bareMiB);
    std::printf("start-up to first paint, median of %zu runs (working directory %s)\n",
        viewerMs.size(), dir.c_str());
    std::printf("  %-12s %8.1f ms   peak RSS %7.1f MiB\n", "viewer", vt, vm);
    std::printf("  %-12s %8.1f ms   peak RSS %7.1f MiB\n", "bare window", bt, bm);
    std::printf("  ratio        %8.2f x      memory  %6.2f x   (time target: at most 1.30 x: %s)\n",
        vt / bt, vm / bm, vt / bt <= 1.3 ? "met" : "NOT met");
    if (failures)
        std::printf("  %d run(s) showed no first paint and were left out\n", failures);
    return 0;
}
