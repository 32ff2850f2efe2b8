#pragma once
// The holder of the most recently started worker; the window owns one. While
// a run is going a further start is ignored, so two workers never write the
// same files. Destroying the holder cancels a run and waits a short grace for
// it, never longer: a worker blocked in the system is left behind (see
// Tmt::Leave).
#include <chrono>
#include <memory>

#include "update/tmt.h"

namespace update {

class UpdateThread {
public:
    // How long leaving waits for a run to stop: a run that is not blocked
    // stops within a fraction of it, and the program still ends within two
    // seconds of the close when one is.
    static constexpr std::chrono::milliseconds kLeaveGrace{1000};

    UpdateThread() = default;
    ~UpdateThread() { Cancel(); }
    UpdateThread(const UpdateThread&) = delete;
    UpdateThread& operator=(const UpdateThread&) = delete;

    // Starts a new worker unless one is running; false when ignored. A
    // finished worker is released here.
    bool Start(UpdatePort& port, UpdateSettings settings);
    bool Running() const;
    // Stops a run still going (the window is closing); returns within the
    // grace. False when the run was left behind still running.
    bool Cancel();

private:
    std::unique_ptr<Tmt> worker_;
};

}  // namespace update
