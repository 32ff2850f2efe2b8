// minisign run once, as `sign` runs it.
#include "publisher/minisign_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "chart/files/unique_fd.h"
#include "publisher/write_all.h"

extern char** environ;

namespace publisher {
namespace {

// What minisign says is kept up to this much.
constexpr std::size_t kSaidCap = 16 * 1024;

// SIGPIPE ignored for as long as it lives: a minisign that ends before it
// reads the password makes the write fail, not this program end.
class NoBrokenPipeSignal {
public:
    NoBrokenPipeSignal() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGPIPE, &ignore, &before_);
    }
    ~NoBrokenPipeSignal() { ::sigaction(SIGPIPE, &before_, nullptr); }
    NoBrokenPipeSignal(const NoBrokenPipeSignal&) = delete;
    NoBrokenPipeSignal& operator=(const NoBrokenPipeSignal&) = delete;

private:
    struct sigaction before_ {};
};

// minisign's words less its prompt, its progress and its "done".
std::string Said(const std::string& output) {
    std::string said;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = std::min(output.find('\n', start), output.size());
        std::string line = output.substr(start, end - start);
        start = end + 1;
        for (const std::string noise : {"Password: ", "Deriving a key from the password and decrypting the secret key... "})
            if (line.starts_with(noise)) line.erase(0, noise.size());
        if (line.empty() || line == "done") continue;
        said += (said.empty() ? "" : "; ") + line;
    }
    return said;
}

}  // namespace

MinisignRun RunMinisign(const std::string& program, const std::vector<std::string>& args,
                        const std::string* password, const StopSignals& stop) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int input[2] = {-1, -1}, output[2] = {-1, -1};
    if (::pipe2(output, O_CLOEXEC) != 0) return {};
    chart::UniqueFd outRead(output[0]), outWrite(output[1]);
    chart::UniqueFd inRead, inWrite;
    if (password) {
        if (::pipe2(input, O_CLOEXEC) != 0) return {};
        inRead.Reset(input[0]);
        inWrite.Reset(input[1]);
    }
    const NoBrokenPipeSignal quiet;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);
    if (password) ::posix_spawn_file_actions_adddup2(&actions, inRead.Get(), STDIN_FILENO);
    else ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, outWrite.Get(), STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, outWrite.Get(), STDERR_FILENO);
    // minisign starts with the signals as a program expects them.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&defaults, signal);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setsigdefault(&attributes, &defaults);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
    if (spawned != 0) return {};
    inRead.Reset();
    outWrite.Reset();

    // The password and its line end, then nothing more: minisign reads one line.
    if (password) {
        WriteAll(inWrite.Get(), *password);
        WriteAll(inWrite.Get(), "\n");
        inWrite.Reset();
    }
    bool stopped = false;
    const auto stopOnSignal = [&] {
        if (stop.Caught() && !stopped) {
            ::kill(pid, SIGTERM);
            stopped = true;
        }
    };
    std::string written;
    char buffer[4096];
    for (;;) {
        if (!stopped && !stop.WaitToRead(outRead.Get())) {
            stopOnSignal();
            continue;
        }
        const ssize_t got = ::read(outRead.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            stopOnSignal();
            continue;
        }
        if (got <= 0) break;
        if (written.size() < kSaidCap) written.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return {};
        stopOnSignal();
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Said(written)};
}

std::optional<std::string> FindMinisign(const char* searchPath) {
    std::string_view rest = searchPath ? searchPath : "/usr/bin:/bin";
    for (;;) {
        const std::size_t colon = rest.find(':');
        const std::string folder(rest.substr(0, colon));
        if (!folder.empty()) {
            const std::string candidate = folder + "/minisign";
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        if (colon == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(colon + 1);
    }
}

}  // namespace publisher
