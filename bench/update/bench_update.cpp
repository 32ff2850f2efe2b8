// Times one update's three downloads from a loopback static server (python3's
// http.server on a temporary folder) beside the curl command fetching the same
// three addresses in one run, and prints both medians and their ratio.
// Usage: bench_update [rounds]   (default 40)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "update/tmt.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class QuietPort : public update::UpdatePort {
public:
    void SetGridEnabled(bool) override {}
    void SetProgress(int) override {}
    void ReadAll() override {}
    void UpdateFailed(const std::string& message) override { failure = message; }
    void UpdateFinished() override {
        std::lock_guard lock(mutex_);
        finished_ = true;
        done_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return finished_; });
    }
    std::string failure;

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
};

fs::path MakeTempDir(const char* label) {
    std::string pattern = (fs::temp_directory_path() / (std::string(label) + "-XXXXXX")).string();
    return ::mkdtemp(pattern.data());
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A chart of 50 programs and six tests, about the size of the published one.
void WriteChart(const fs::path& dir) {
    std::string data, policy;
    for (int i = 1; i <= 50; ++i) {
        data += "http://program" + std::to_string(i) + ".example/\r\nProgram " + std::to_string(i) +
                "\r\n1101 0110 1111 0101 1010 0011\r\n5 4 3 4 5 2 23\r\n\r\n";
    }
    for (int t = 1; t <= 6; ++t) {
        policy += "Test " + std::to_string(t) + "\r\n";
        for (int s = 1; s <= 8; ++s) policy += "Sub-criterion " + std::to_string(s) + "\r\n";
        policy += "\r\n";
    }
    Write(dir / "data.dat", data);
    Write(dir / "policy.dat", policy);
    Write(dir / "version.dat", "10\r\n10\r\n");
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

bool RunCurl(const std::string& base, const fs::path& dir) {
    const std::string a = (dir / "a").string(), b = (dir / "b").string(), c = (dir / "c").string();
    const std::string u1 = base + "/data.dat", u2 = base + "/policy.dat", u3 = base + "/version.dat";
    const char* argv[] = {"curl", "-s", "-o", a.c_str(), u1.c_str(), "-o", b.c_str(), u2.c_str(),
                          "-o", c.c_str(), u3.c_str(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const fs::path served = MakeTempDir("vantrel-bench-served");
    const fs::path chartDir = MakeTempDir("vantrel-bench-chart");
    const fs::path curlDir = MakeTempDir("vantrel-bench-curl");
    WriteChart(served);

    const Server server = StartServer(served);
    int rc = 0;
    if (server.base.empty()) {
        std::fprintf(stderr, "bench_update: could not start python3 -m http.server\n");
        rc = 1;
    } else {
        std::vector<double> worker, curl;
        for (int i = 0; i < rounds && rc == 0; ++i) {
            const auto t0 = Clock::now();
            QuietPort port;
            {
                update::UpdateSettings settings;
                settings.baseUrl = server.base;
                settings.chartDirectory = chartDir.string();
                update::Tmt run(port, settings);
                port.Wait();
            }
            const auto t1 = Clock::now();
            const bool curlOk = RunCurl(server.base, curlDir);
            const auto t2 = Clock::now();
            if (!port.failure.empty() || !curlOk) {
                std::fprintf(stderr, "bench_update: a download failed: %s\n", port.failure.c_str());
                rc = 1;
            }
            worker.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            curl.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
        }
        if (rc == 0) {
            const double w = Median(worker), c = Median(curl);
            std::printf("three downloads, median of %d rounds\n", rounds);
            std::printf("  update worker : %8.2f ms\n", w);
            std::printf("  curl command  : %8.2f ms\n", c);
            std::printf("  ratio worker/curl: %.2f (aim: at most 1.3)\n", w / c);
        }
    }
    if (server.pid > 0) {
        ::kill(server.pid, SIGTERM);
        ::waitpid(server.pid, nullptr, 0);
    }
    for (const auto& d : {served, chartDir, curlDir}) fs::remove_all(d);
    return rc;
}
