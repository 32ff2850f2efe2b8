// The lock on the commit marker itself.
#include "folder/marker_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "folder/lock_holders.h"

namespace folder {
namespace {

// One try without waiting; 0 or errno.
int TryLock(int fd, int operation) {
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0) return 0;
        if (errno != EINTR) return errno;
    }
}

// The user's own marker, opened as every work file is (no link followed, no
// FIFO waited on).
chart::UniqueFd OpenOwnMarker(const std::string& path) {
    chart::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (fd && (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())) fd.Reset();
    return fd;
}

std::optional<chart::FileIdentity> IdentityOfFd(int fd) {
    struct stat info;
    if (::fstat(fd, &info) != 0) return std::nullopt;
    return chart::FileIdentity{info.st_dev, info.st_ino};
}

}  // namespace

MarkerLock::MarkerLock(chart::UniqueFd fd) : fd_(std::move(fd)) {
    if (fd_ && TryLock(fd_.Get(), LOCK_EX) == 0) {
        state_ = State::Held;
        identity_ = IdentityOfFd(fd_.Get());
    } else {
        // A file system without locks: readers cannot tell this commit at
        // work, as they could not tell any; the update lock still stands.
        state_ = fd_ ? State::Held : State::Gone;
    }
}

MarkerLock::MarkerLock(const std::string& path, std::chrono::milliseconds wait, chart::WaitPort* window) {
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    for (;;) {
        fd_ = OpenOwnMarker(path);
        if (!fd_) {
            state_ = State::Gone;
            return;
        }
        const int error = TryLock(fd_.Get(), LOCK_EX);
        if (error == 0 || error != EWOULDBLOCK) {
            // Without locks at all, whoever finishes it is the only one at it
            // as far as anyone can tell.
            state_ = State::Held;
            identity_ = IdentityOfFd(fd_.Get());
            return;
        }
        fd_.Reset();
        if (std::chrono::steady_clock::now() >= giveUp) {
            state_ = State::Busy;
            return;
        }
        if (window && !window->KeepWaiting()) {
            state_ = State::Abandoned;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(window ? 10 : 2));
    }
}

bool MarkerLock::StillAt(const std::string& path) const {
    return identity_ && chart::IdentityOf(path) == identity_;
}

bool MarkerInUse(const std::string& path, bool own) {
    if (const auto holders = LockHoldersOf(path)) return !holders->empty();
    if (!own) return false;
    const chart::UniqueFd fd = OpenOwnMarker(path);
    return fd && TryLock(fd.Get(), LOCK_SH) == EWOULDBLOCK;
}

}  // namespace folder
