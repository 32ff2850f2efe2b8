// Times the whole update path (the update driver, a fresh process each round,
// so the worker starts cold) beside two floors, over a loopback static server.
// Usage: bench_update [rounds]   (default 40)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path MakeTempDir(const char* label) {
    std::string pattern = (fs::temp_directory_path() / (std::string(label) + "-XXXXXX")).string();
    return ::mkdtemp(pattern.data());
}


// The benchmarks' chart of 50 programs, served as data.dat, policy.dat, version.dat.
void ServeChart(const fs::path& served) {
    const fs::path chart = VANTREL_BENCH_CHART_DIR;
    for (const char* name : {"data", "policy", "version"})
        fs::copy_file(chart / name, served / (std::string(name) + ".dat"));
}

struct Server {
    pid_t pid = -1;
    std::string base;
};

Server StartServer(const fs::path& root) {
    int out[2];
    if (::pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string dir = root.string();
    const char* argv[] = {"python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                          "--directory", dir.c_str(), nullptr};
    Server server;
    if (posix_spawnp(&server.pid, "python3", &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
        server.pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    // "Serving HTTP on 127.0.0.1 port 12345 (http://127.0.0.1:12345/) ..."
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(out[0]);
    const auto at = line.find("port ");
    if (server.pid > 0 && at != std::string::npos) {
        server.base = "http://127.0.0.1:" + std::to_string(std::stoi(line.substr(at + 5)));
    }
    return server;
}

// Runs argv to its end; the milliseconds from spawn to exit, or nothing when
// it failed.
std::optional<double> TimeRun(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto t0 = Clock::now();
    pid_t pid;
    const int error = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (error != 0) return std::nullopt;
    int status = 0;
    ::waitpid(pid, &status, 0);
    const auto t1 = Clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

struct Command {
    const char* what;
    std::vector<std::string> args;
};

// Which of n commands runs k-th in round i: the order turns by one every two
// rounds and is mirrored every other round, so each command runs in each place
// equally often (for three commands, six rounds go through all six orders).
int RoundOrder(int i, int k, int n) {
    const int place = (i / 2 + k) % n;
    return i % 2 ? n - 1 - place : place;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const fs::path served = MakeTempDir("vantrel-bench-served");
    const fs::path chartDir = MakeTempDir("vantrel-bench-chart");
    const fs::path curlDir = MakeTempDir("vantrel-bench-curl");
    const fs::path safeDir = MakeTempDir("vantrel-bench-safe");
    ServeChart(served);

    const Server server = StartServer(served);
    int rc = 0;
    if (server.base.empty()) {
        std::fprintf(stderr, "bench_update: could not start python3 -m http.server\n");
        rc = 1;
    } else {
        const std::vector<std::string> update = {VANTREL_UPDATE_DRIVER, server.base, chartDir.string()};
        const std::string u = server.base;
        const std::vector<std::string> curl = {
            "curl", "-s", "-o", (curlDir / "a").string(), u + "/data.dat",
            "-o", (curlDir / "b").string(), u + "/policy.dat",
            "-o", (curlDir / "c").string(), u + "/version.dat"};
        const std::vector<std::string> safe = {VANTREL_SAFE_FETCH, server.base, safeDir.string()};
        // The floors: the plain curl command fetching the three files in one run,
        // and the safe peer, which makes them as crash-proof as the update does;
        // the figures are medians and the median of the per-round ratios.
        const Command commands[] = {{"the update", update}, {"curl", curl}, {"the safe peer", safe}};
        constexpr int kCommands = sizeof commands / sizeof commands[0];
        std::vector<double> times[kCommands], curlRatios, safeRatios;
        for (int i = 0; i <= rounds && rc == 0; ++i) {  // round 0 warms the disk cache
            double took[kCommands] = {};
            for (int k = 0; k < kCommands && rc == 0; ++k) {
                const int which = RoundOrder(i, k, kCommands);
                if (const auto t = TimeRun(commands[which].args)) {
                    took[which] = *t;
                } else {
                    std::fprintf(stderr, "bench_update: %s failed\n", commands[which].what);
                    rc = 1;
                }
            }
            if (rc == 0 && i > 0) {
                for (int k = 0; k < kCommands; ++k) times[k].push_back(took[k]);
                curlRatios.push_back(took[0] / took[1]);
                safeRatios.push_back(took[0] / took[2]);
            }
        }
        if (rc == 0) {
            std::printf("three downloads of the 50-program chart, %d interleaved rounds\n", rounds);
            std::printf("  update, whole program path (cold): %8.2f ms median\n", Median(times[0]));
            std::printf("  curl command                     : %8.2f ms median\n", Median(times[1]));
            std::printf("  curl, flushed and renamed (safe) : %8.2f ms median\n", Median(times[2]));
            std::printf("  ratio update/curl (median of round ratios): %.2f (aim: at most 1.2)\n",
                        Median(curlRatios));
            std::printf("  ratio update/safe (median of round ratios): %.2f (aim: at most 1.1)\n",
                        Median(safeRatios));
        }
    }
    if (server.pid > 0) {
        ::kill(server.pid, SIGTERM);
        ::waitpid(server.pid, nullptr, 0);
    }
    for (const auto& d : {served, chartDir, curlDir, safeDir}) fs::remove_all(d);
    return rc;
}
