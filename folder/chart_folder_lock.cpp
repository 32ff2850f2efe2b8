// The chart folder's own lock, tried within a bound.
#include "folder/chart_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <thread>

namespace folder {
namespace {

// The lock is on the folder itself: no lock file of ours, so none for anyone to plant in its place.
chart::UniqueFd OpenFolder(const std::string& directory) {
    return chart::UniqueFd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
}

// One try without waiting; 0 or errno.
int TryLock(int fd, int operation) {
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0) return 0;
        if (errno != EINTR) return errno;
    }
}

}  // namespace

ChartFolderLock::ChartFolderLock(const std::string& directory, Mode mode, std::chrono::milliseconds wait,
                                 chart::WaitPort* window) {
    fd_ = OpenFolder(directory);
    if (!fd_) {
        error_ = errno;
        return;
    }
    const int operation = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
    // flock cannot wait with a limit; holders keep it for milliseconds, so
    // trying again every few of them costs nothing.
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    for (;;) {
        error_ = TryLock(fd_.Get(), operation);
        if (error_ == 0) {
            held_ = true;
            return;
        }
        if (error_ != EWOULDBLOCK || std::chrono::steady_clock::now() >= giveUp) break;
        if (window && !window->KeepWaiting()) {
            abandoned_ = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(window ? 10 : 2));
    }
    fd_.Reset();
}

}  // namespace folder
