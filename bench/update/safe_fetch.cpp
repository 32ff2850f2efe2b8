// The update benchmark's safe peer: the curl command fetching the three chart
// files, then each flushed and renamed over its target and the folder flushed.
//   bench_safe_fetch BASE DIRECTORY
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

extern char** environ;

namespace {

constexpr const char* kNames[] = {"data", "policy", "version"};

// Says which step failed, with the system's reason when there is one.
bool Fail(const std::string& what, int error) {
    if (error != 0) {
        std::fprintf(stderr, "bench_safe_fetch: %s: %s\n", what.c_str(), std::strerror(error));
    } else {
        std::fprintf(stderr, "bench_safe_fetch: %s\n", what.c_str());
    }
    return false;
}

// curl -s --fail -o DIR/.NAME.part BASE/NAME.dat, for the three names in one run
// (one connection, as the plain curl command of the benchmark).
bool Fetch(const std::string& base, const std::string& dir) {
    std::string args[3 + 3 * 3];
    int n = 0;
    args[n++] = "curl";
    args[n++] = "-s";
    args[n++] = "--fail";  // an error page is not renamed over a file
    for (const char* name : kNames) {
        args[n++] = "-o";
        args[n++] = dir + "/." + name + ".part";
        args[n++] = base + "/" + name + ".dat";
    }
    char* argv[sizeof args / sizeof args[0] + 1];
    for (int i = 0; i < n; ++i) argv[i] = args[i].data();
    argv[n] = nullptr;
    pid_t pid;
    if (const int error = posix_spawnp(&pid, "curl", nullptr, nullptr, argv, environ); error != 0) {
        return Fail("starting curl", error);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return Fail("waiting for curl", errno);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return Fail("curl did not fetch the three files", 0);
    return true;
}

bool Flush(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0) {
        const int error = errno;  // before the message's string is built
        return Fail("opening " + path, error);
    }
    const int flushed = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return flushed == 0 || Fail("flushing " + path, flushed);
}

}  // namespace

// What a careful program does to make new files survive a crash (four flushes
// in all). Exits 0 when every step worked, 1 otherwise (the failed step on
// stderr), 2 on wrong usage.
int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s BASE DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string base = argv[1], dir = argv[2];
    if (!Fetch(base, dir)) return 1;
    for (const char* name : kNames) {
        const std::string part = dir + "/." + name + ".part", target = dir + "/" + name;
        if (!Flush(part, 0)) return 1;
        if (::rename(part.c_str(), target.c_str()) != 0) {
            const int error = errno;
            Fail("renaming " + part, error);
            return 1;
        }
    }
    return Flush(dir, O_DIRECTORY) ? 0 : 1;
}
