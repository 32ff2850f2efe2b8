#pragma once
// Lets a reload read "data", "policy" and "version" as one set. The lock is
// the chart folder's own (flock on the folder itself, so no file of ours can
// be planted in its place): whatever puts chart files in place (an update's
// commit, start-up's roll-forward or roll-back) holds it exclusively for the
// few renames; a reload holds it shared while it reads the three files' bytes.
// Neither holds it while a message box is open or a download runs.
#include <cerrno>
#include <chrono>
#include <string>

#include "chart/files/unique_fd.h"

namespace chart {

class ChartFolderLock {
public:
    enum class Mode { Shared, Exclusive };

    // Waits for as long as the holder keeps it.
    static constexpr std::chrono::milliseconds kNoLimit = std::chrono::milliseconds::max();

    // Waits up to `wait` for the lock. Not Held() when the wait ran out or the
    // folder cannot be opened or locked (a file system without locks): the
    // caller decides whether to go on without it.
    ChartFolderLock(const std::string& directory, Mode mode,
                    std::chrono::milliseconds wait = std::chrono::seconds(10));
    // Lets go of the lock.
    ~ChartFolderLock() = default;
    ChartFolderLock(const ChartFolderLock&) = delete;
    ChartFolderLock& operator=(const ChartFolderLock&) = delete;

    bool Held() const { return held_; }
    // Not held because another holder kept it past the wait (rather than a
    // folder without locks).
    bool Busy() const { return !held_ && error_ == EWOULDBLOCK; }

private:
    UniqueFd fd_;
    bool held_ = false;
    int error_ = 0;
};

}  // namespace chart
