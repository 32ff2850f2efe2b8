// The update worker against a server whose every answer is the fuzzer's
// bytes: a loopback server reads each request, sends the input as the raw
// HTTP response and closes. Whatever comes back, the chart must end either
// wholly new (the three files hold the same served body, which then reads as
// a chart) or wholly old, with no staging file left behind, and the run must
// end with one outcome.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "chart/files/local_path.h"
#include "fuzz_support.h"
#include "update/chart_files.h"
#include "update/tmt.h"

namespace {

using namespace std::chrono_literals;

// Serves the current answer to every connection, one at a time.
class AnswerServer {
public:
    AnswerServer() {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        fuzz::Require(listenFd_ >= 0 && ::bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                          ::listen(listenFd_, 8) == 0 &&
                          ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len) == 0,
                      "loopback server listening");
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~AnswerServer() {
        stop_ = true;
        thread_.join();
        ::close(listenFd_);
    }

    void SetAnswer(std::string bytes) {
        std::lock_guard lock(mutex_);
        answer_ = std::move(bytes);
    }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    void Serve() {
        while (!stop_) {
            pollfd p{listenFd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            if (ReadRequestHead(fd)) {
                std::string answer;
                {
                    std::lock_guard lock(mutex_);
                    answer = answer_;
                }
                SendAll(fd, answer);
            }
            ::shutdown(fd, SHUT_WR);
            ::close(fd);
        }
    }

    // Reads up to the blank line that ends the request's head.
    static bool ReadRequestHead(int fd) {
        std::string head;
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0) return false;
            char buf[4096];
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) return false;
            head.append(buf, static_cast<std::size_t>(n));
        }
        return true;
    }

    static void SendAll(int fd, const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return;  // the client gave up: fine
            done += static_cast<std::size_t>(n);
        }
    }

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::string answer_;
    std::thread thread_;
};

class Outcome : public update::UpdatePort {
public:
    void SetGridEnabled(bool) override {}
    void SetProgress(int) override {}
    void ReadAll() override { Mark(reloaded_); }
    void UpdateFailed(const std::string& message) override {
        fuzz::Require(message.rfind("The update failed: ", 0) == 0, "failure message in its form");
        Mark(failed_);
    }
    void UpdateFinished() override {
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }

    bool WaitFinished(std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return finished_; });
    }
    int Reloaded() const { return reloaded_; }
    int Failed() const { return failed_; }

private:
    void Mark(int& count) {
        std::lock_guard lock(mutex_);
        fuzz::Require(!finished_, "nothing after the run's end");
        ++count;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool finished_ = false;
    int reloaded_ = 0;
    int failed_ = 0;
};

const std::string kOld[] = {"old data\n", "old policy\n", "old version\n"};

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename() != ".vantrel-update.lock")  // stays once made
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AnswerServer server;
    const std::string& dir = fuzz::ScratchDirectory();
    for (std::size_t i = 0; i < update::kChartFiles.size(); ++i)
        fuzz::WriteFile(chart::LocalPath(dir, update::kChartFiles[i].name), kOld[i]);
    server.SetAnswer(std::string(reinterpret_cast<const char*>(data), size));

    update::UpdateSettings settings;
    settings.baseUrl = server.Base();
    settings.chartDirectory = dir;
    settings.connectTimeout = 2s;
    settings.stallTimeout = 1s;
    settings.bodyCap = 1024;  // small, so that short inputs reach the cap too
    Outcome outcome;
    {
        update::Tmt worker(outcome, settings);
        fuzz::Require(outcome.WaitFinished(30s), "the run ends within its time limits");
    }

    fuzz::Require(outcome.Reloaded() + outcome.Failed() == 1, "one outcome per run");
    fuzz::Require(Names(dir) == std::vector<std::string>{"data", "policy", "version"},
                  "no staging file left behind");
    std::string files[3];
    for (std::size_t i = 0; i < update::kChartFiles.size(); ++i)
        files[i] = fuzz::ReadFile(chart::LocalPath(dir, update::kChartFiles[i].name));
    if (outcome.Reloaded()) {
        fuzz::Require(files[0] == files[1] && files[1] == files[2], "all three hold the served body");
        fuzz::Require(files[0].size() <= settings.bodyCap, "no body beyond the cap");
        fuzz::Require(files[0].size() <= size, "no body longer than the answer");
    } else {
        for (std::size_t i = 0; i < 3; ++i) fuzz::Require(files[i] == kOld[i], "all three untouched");
    }
    return 0;
}
