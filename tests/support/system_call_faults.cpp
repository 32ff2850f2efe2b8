// The test program's own fsync, read, rename, unlink, link and linkat, failing on demand.
#include "support/system_call_faults.h"

#include <dlfcn.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string_view>

namespace support {
namespace {

std::atomic<int> folderFlushFailures{0};
std::atomic<bool> fatRules{std::getenv(kFatRulesVariable) && std::string_view(std::getenv(kFatRulesVariable)) == "1"};

// A name and the error its calls fail with.
struct NamedFault {
    std::atomic<bool> armed{false};
    std::mutex mutex;
    std::string name;
    int error = 0;
    int times = -1;  // calls left to fail; -1: every one

    void Set(const std::string& to, int with, int count = -1) {
        const std::lock_guard hold(mutex);
        name = to;
        error = with;
        times = count;
        armed = !to.empty();
    }
    // The error for a path, or 0.
    int For(std::string_view path) {
        if (!armed) return 0;
        const std::lock_guard hold(mutex);
        const auto slash = path.rfind('/');
        const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
        if (last != name || times == 0) return 0;
        if (times > 0) --times;
        return error;
    }
};
NamedFault failingReads, failingRenames;

// What runs once after the first read of a name (AfterFirstReadOf).
struct ReadHook {
    std::atomic<bool> armed{false};
    std::atomic<bool> ran{false};
    std::mutex mutex;
    std::string name;
    std::function<void()> then;

    // Takes the action when the path is the hook's name, disarming it.
    std::function<void()> Take(std::string_view path) {
        const std::lock_guard hold(mutex);
        const auto slash = path.rfind('/');
        if (!armed || path.substr(slash == std::string_view::npos ? 0 : slash + 1) != name) return {};
        armed = false;
        ran = true;
        return std::move(then);
    }
};
ReadHook afterRead;

// The last path part of an open descriptor's file, or "".
std::string OpenName(int fd) {
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), path, sizeof path);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

// Where the process stops itself, from the environment: "rename:NAME" or
// "unlink:NAME"; once.
struct StopPoint {
    std::string call, name;
    std::atomic<bool> passed{false};
    StopPoint() {
        const char* at = std::getenv(kStopBeforeVariable);
        const std::string_view rule = at ? at : "";
        const auto colon = rule.find(':');
        if (colon == std::string_view::npos) return;
        call = rule.substr(0, colon);
        name = rule.substr(colon + 1);
    }
    void Before(std::string_view which, std::string_view path) {
        if (call.empty() || which != call || passed) return;
        const auto slash = path.rfind('/');
        if (path.substr(slash == std::string_view::npos ? 0 : slash + 1) != name) return;
        passed = true;
        ::raise(SIGSTOP);
    }
};
StopPoint& Stop() {
    static StopPoint point;
    return point;
}

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

bool Exists(const char* path) {
    struct stat info;
    return ::lstat(path, &info) == 0;
}

}  // namespace

void FailNextFolderFlushes(int count) { folderFlushFailures.store(count); }
void FailReadsOf(const std::string& name, int error) { failingReads.Set(name, error); }
void FailRenamesOnto(const std::string& name, int error, int times) { failingRenames.Set(name, error, times); }
void UseFatRules(bool on) { fatRules.store(on); }

AfterFirstReadOf::AfterFirstReadOf(const std::string& name, std::function<void()> then) {
    const std::lock_guard hold(afterRead.mutex);
    afterRead.name = name;
    afterRead.then = std::move(then);
    afterRead.ran = false;
    afterRead.armed = true;
}
AfterFirstReadOf::~AfterFirstReadOf() {
    const std::lock_guard hold(afterRead.mutex);
    afterRead.armed = false;
    afterRead.then = nullptr;
}
bool AfterFirstReadOf::Ran() const { return afterRead.ran; }

}  // namespace support

using support::folderFlushFailures;

extern "C" int fsync(int fd) {
    static const auto real = support::Real<int (*)(int)>("fsync");
    struct stat info;
    if (folderFlushFailures.load() > 0 && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        folderFlushFailures.fetch_sub(1);
        errno = EIO;
        return -1;
    }
    return real(fd);
}

extern "C" ssize_t read(int fd, void* buffer, size_t size) {
    static const auto real = support::Real<ssize_t (*)(int, void*, size_t)>("read");
    if (support::failingReads.armed) {
        if (const int error = support::failingReads.For(support::OpenName(fd))) {
            errno = error;
            return -1;
        }
    }
    const ssize_t got = real(fd, buffer, size);
    if (support::afterRead.armed) {
        const int saved = errno;
        if (const auto then = support::afterRead.Take(support::OpenName(fd))) then();
        errno = saved;
    }
    return got;
}

extern "C" int rename(const char* from, const char* to) {
    static const auto real = support::Real<int (*)(const char*, const char*)>("rename");
    support::Stop().Before("rename", to);
    if (const int error = support::failingRenames.For(to)) {
        errno = error;
        return -1;
    }
    if (support::fatRules.load() && support::Exists(to) && support::Exists(from)) {
        errno = EEXIST;
        return -1;
    }
    return real(from, to);
}

extern "C" int unlink(const char* path) {
    static const auto real = support::Real<int (*)(const char*)>("unlink");
    support::Stop().Before("unlink", path);
    return real(path);
}

extern "C" int link(const char* from, const char* to) {
    static const auto real = support::Real<int (*)(const char*, const char*)>("link");
    if (support::fatRules.load()) {
        errno = EPERM;
        return -1;
    }
    return real(from, to);
}

extern "C" int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    static const auto real = support::Real<int (*)(int, const char*, int, const char*, int)>("linkat");
    if (support::fatRules.load()) {
        errno = EPERM;
        return -1;
    }
    return real(fromDir, from, toDir, to, flags);
}
