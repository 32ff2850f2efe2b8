#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

bool RunProgram(const std::vector<std::string>& argv) {
    const int pid = Spawn(argv, -1);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    try {
        pid_ = Spawn(argv, pipeFds[1]);
    } catch (...) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        throw;
    }
    ::close(pipeFds[1]);
    output_ = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0) {
    }
    ::close(output_);
}

std::string ChildProcess::FirstLine() {
    std::string line;
    char c;
    while (::read(output_, &c, 1) == 1 && c != '\n') line += c;
    return line;
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
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() >= end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
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
