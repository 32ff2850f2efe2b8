#pragma once
// One updater per chart folder: an exclusive advisory lock (flock) on a lock
// file beside the chart files. An update holds it from its first staging file
// to the end of its commit, and start-up holds it while it finishes or clears
// what an earlier run left. The kernel lets go of it when its holder dies, so
// a killed copy never blocks the next one. The lock file itself stays: removing
// it would let two copies lock two different files of the same name.
#include <string>

namespace update {

class UpdateLock {
public:
    enum class State { Held, Busy, Failed };

    // Tries once, without waiting. Busy: another process (or another open of
    // the same file) holds it. Failed: the lock file could not be opened.
    explicit UpdateLock(const std::string& chartDirectory);
    // Lets go of the lock.
    ~UpdateLock();
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

    State Result() const { return state_; }
    bool Held() const { return state_ == State::Held; }
    const std::string& Path() const { return path_; }
    int Error() const { return error_; }  // errno when Failed

private:
    void Close();

    std::string path_;
    int fd_ = -1;
    int error_ = 0;
    State state_ = State::Failed;
};

// The lock file's fixed name in the chart folder.
std::string UpdateLockPath(const std::string& chartDirectory);

}  // namespace update
