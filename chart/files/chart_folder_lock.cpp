#include "chart/files/chart_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <thread>

namespace chart {

ChartFolderLock::ChartFolderLock(const std::string& directory, Mode mode,
                                 std::chrono::milliseconds wait) {
    fd_.Reset(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
    if (!fd_) {
        error_ = errno;
        return;
    }
    const bool noLimit = wait == kNoLimit;
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | (noLimit ? 0 : LOCK_NB);
    // flock cannot wait with a limit; holders keep it for milliseconds, so
    // trying again every few of them costs nothing.
    const auto giveUp = noLimit ? std::chrono::steady_clock::time_point::max()
                                : std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd_.Get(), operation) == 0) {
            held_ = true;
            return;
        }
        error_ = errno;
        if (error_ == EINTR) continue;
        if (error_ != EWOULDBLOCK || std::chrono::steady_clock::now() >= giveUp) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    fd_.Reset();
}

}  // namespace chart
