#pragma once
// The holder of the most recently started worker; the window owns one. While
// a run is going a further start is ignored, so two workers never write the
// same files. Destroying the holder cancels a run and waits for it.
#include <memory>

#include "update/tmt.h"

namespace update {

class UpdateThread {
public:
    UpdateThread() = default;
    ~UpdateThread() = default;  // the worker's own destructor cancels and joins
    UpdateThread(const UpdateThread&) = delete;
    UpdateThread& operator=(const UpdateThread&) = delete;

    // Starts a new worker unless one is running; false when ignored. A
    // finished worker is released here.
    bool Start(UpdatePort& port, UpdateSettings settings);
    bool Running() const;
    // Stops a run still going (the window is closing); returns within a second.
    void Cancel();

private:
    std::unique_ptr<Tmt> worker_;
};

}  // namespace update
