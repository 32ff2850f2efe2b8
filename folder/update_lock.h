#pragma once
// One updater per chart folder: held by an update from its first staging file
// to the end of its commit, and by start-up while it finishes what a run left.
#include <optional>
#include <string>

#include "chart/files/unique_fd.h"
#include "folder/folder_failure.h"
#include "folder/work_files.h"

namespace folder {

// The kernel lets go of the locks when their holder dies, so a killed copy
// never blocks the next one. The lock files stay: removing one would let two
// copies lock two different files of the same name. Another user's shared
// lock file is locked through a read-only open; anything else at either name
// (a link, a FIFO, a folder, another user's file at the user's own name) is
// never opened through or waited on.
class UpdateLock {
public:
    enum class LockState { Held, Busy, Failed };

    // Tries once, without waiting. Busy: another copy of this user's (or one
    // that cannot be told from one) holds it. Failed: a lock file could not be
    // opened or made.
    explicit UpdateLock(const WorkFiles& folder);
    // Lets go of the locks (closing the only opens of them).
    ~UpdateLock() = default;
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

    LockState State() const { return state_; }
    bool Held() const { return state_ == LockState::Held; }
    // Why it is not held: another copy updating, or a lock file's failure.
    const std::optional<Failure>& Why() const { return why_; }

private:
    // Both are exclusive flock locks. The lock file every copy and every
    // earlier version takes counts only while a process of this user holds it,
    // so that another user who locks it stops no update.
    chart::UniqueFd shared_;
    // The user's own lock file (mode 0600), which no other user can open to keep.
    chart::UniqueFd own_;
    LockState state_ = LockState::Failed;
    std::optional<Failure> why_;
};

}  // namespace folder
