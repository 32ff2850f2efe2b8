// Programs and forked children run by the tests, each under a deadline.
#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace support {
namespace {

// Starts argv with its standard output on outFd (-1: thrown away).
int Spawn(const std::vector<std::string>& argv, int outFd) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

}  // namespace

std::optional<int> WaitForExit(int pid, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return status;
        if (done < 0 && errno != EINTR) return std::nullopt;
        if (std::chrono::steady_clock::now() >= end) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool RunProgram(const std::vector<std::string>& argv) {
    const auto status = WaitForExit(Spawn(argv, -1), kChildDeadline);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    try {
        pid_ = Spawn(argv, pipeFds[1]);
    } catch (...) {
        // Passed on once the pipe is closed.
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        throw;
    }
    ::close(pipeFds[1]);
    output_ = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    ::kill(pid_, SIGTERM);
    WaitForExit(pid_, std::chrono::seconds(10));
    ::close(output_);
}

std::string ChildProcess::FirstLine() {
    const auto end = std::chrono::steady_clock::now() + kChildDeadline;
    std::string line;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd ready{output_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) return {};
        char c;
        if (::read(output_, &c, 1) != 1 || c == '\n') return line;
        line += c;
    }
}

std::string ChildOutcome::Describe() const {
    if (!finished) return "hung (killed at the deadline)";
    if (signal != 0) return "died of signal " + std::to_string(signal);
    return "exited with " + std::to_string(exitCode);
}

ChildOutcome RunInChild(const std::function<int()>& body, std::chrono::milliseconds deadline) {
    std::fflush(nullptr);  // nothing buffered is written twice
    const pid_t pid = fork();
    if (pid < 0) return {};
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
            code = 98;  // an exception escaped the code under test
        }
        _exit(code);
    }

    ChildOutcome outcome;
    const auto ended = WaitForExit(pid, deadline);
    if (!ended) return outcome;
    const int status = *ended;
    outcome.finished = true;
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    return outcome;
}

long long PeakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}


}  // namespace support
