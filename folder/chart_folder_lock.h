#pragma once
// The chart folder's own lock, which lets a reload read the three files as one
// set while a commit holds it for its renames.
#include <cerrno>
#include <chrono>
#include <string>

#include "chart/files/unique_fd.h"
#include "chart/window_ports.h"

namespace folder {

// A reload holds it shared while it reads the three files' bytes; a commit,
// or start-up's roll-forward or roll-back, exclusively for its few renames.
// Neither holds it while a message box is open or a download runs. Anyone who
// can open the folder can take it too, so nobody waits for it without a bound.
class ChartFolderLock {
public:
    enum class Mode { Shared, Exclusive };

    // Tries for up to `wait` (0: once). With a window (the user-interface
    // thread), the window answers between the tries and may end the wait.
    // Not Held() when the wait ran out or was ended, or the folder cannot be
    // opened or locked (a file system without locks): the caller decides
    // whether to go on without it.
    ChartFolderLock(const std::string& directory, Mode mode,
                    std::chrono::milliseconds wait = std::chrono::seconds(10), chart::WaitPort* window = nullptr);
    // Lets go of the lock.
    ~ChartFolderLock() = default;
    ChartFolderLock(const ChartFolderLock&) = delete;
    ChartFolderLock& operator=(const ChartFolderLock&) = delete;

    bool Held() const { return held_; }
    // Not held because another holder kept it past the wait (rather than a
    // folder without locks).
    bool Busy() const { return !held_ && error_ == EWOULDBLOCK; }
    // The window ended the wait: the program is ending.
    bool Abandoned() const { return abandoned_; }

private:
    chart::UniqueFd fd_;
    bool held_ = false;
    bool abandoned_ = false;
    int error_ = 0;
};

}  // namespace folder
