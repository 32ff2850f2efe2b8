#pragma once
// The lock on the commit marker itself, held by the commit that wrote it, or by
// whoever finishes a commit that was cut off, until the marker is gone.
#include <chrono>
#include <optional>
#include <string>

#include "chart/files/file_bytes.h"
#include "chart/files/unique_fd.h"
#include "chart/window_ports.h"

namespace folder {

// A reader tells a commit at work from one cut off by whether anyone holds
// this lock: a marker is its user's own file (mode 0600), so nobody else can
// fake either, and the kernel lets go of the lock when its holder dies.
class MarkerLock {
public:
    enum class State { Held, Busy, Gone, Abandoned };

    // The marker being written, whose only open is fd: taken at once.
    explicit MarkerLock(chart::UniqueFd fd);
    // The user's own marker at path, tried for up to `wait`; with a window,
    // the window answers between the tries and may end the wait. Gone: no
    // marker of the user's own is there (any more).
    MarkerLock(const std::string& path, std::chrono::milliseconds wait, chart::WaitPort* window);

    State Now() const { return state_; }
    bool Held() const { return state_ == State::Held; }
    int Fd() const { return fd_.Get(); }
    // Whether path still leads to the marker held (nobody finished it and
    // wrote another meanwhile).
    bool StillAt(const std::string& path) const;

private:
    chart::UniqueFd fd_;
    State state_ = State::Gone;
    std::optional<chart::FileIdentity> identity_;
};

// Whether anyone holds the lock on the marker at path: its writer, or whoever
// finishes it, at work. Without a list of locks only the user's own marker
// can be told (by trying its lock for a moment); another's counts as nobody's.
bool MarkerInUse(const std::string& path, bool own);

}  // namespace folder
