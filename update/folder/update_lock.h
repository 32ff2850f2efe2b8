#pragma once
// One updater per chart folder: an exclusive advisory lock (flock) on a lock
// file beside the chart files, held by an update from its first staging file
// to the end of its commit, and by start-up while it finishes what a run left.
#include <optional>
#include <string>

#include "chart/files/unique_fd.h"
#include "update/failure.h"
#include "update/folder/work_files.h"

namespace update {

// The kernel lets go of the lock when its holder dies, so a killed copy never
// blocks the next one. The lock file itself stays: removing it would let two
// copies lock two different files of the same name. Another user's lock file
// (a shared folder) is locked through a read-only open; anything else at its
// name (a link, a FIFO, a folder) is never opened through or waited on.
class UpdateLock {
public:
    enum class LockState { Held, Busy, Failed };

    // Tries once, without waiting. Busy: another process (or another open of
    // the same file) holds it. Failed: the lock file could not be opened.
    explicit UpdateLock(const WorkFiles& folder);
    // Lets go of the lock (closing the only open of it).
    ~UpdateLock() = default;
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

    LockState State() const { return state_; }
    bool Held() const { return state_ == LockState::Held; }
    // Why it is not held: another copy updating, or the lock file's failure.
    const std::optional<Failure>& Why() const { return why_; }

private:
    chart::UniqueFd fd_;
    LockState state_ = LockState::Failed;
    std::optional<Failure> why_;
};

}  // namespace update
