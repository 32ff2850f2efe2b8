#pragma once
// UpdateThread (the name is the system's own): the holder of the most recently
// started worker, with what every run is given.
#include <atomic>
#include <chrono>
#include <memory>

#include "update/tmt.h"
#include "update/update_port.h"
#include "update/update_settings.h"

namespace update {

class UpdateThread : public UpdateControl {
public:
    // How long stopping waits for a run: a run that is not blocked stops
    // within a fraction of it, and the program still ends within two seconds
    // of the close when one is.
    static constexpr std::chrono::milliseconds kLeaveGrace{1000};

    explicit UpdateThread(UpdateSettings settings)
        : settings_(std::make_shared<const UpdateSettings>(std::move(settings))) {}
    ~UpdateThread() override { Cancel(); }
    UpdateThread(const UpdateThread&) = delete;
    UpdateThread& operator=(const UpdateThread&) = delete;

    // A finished worker is released here. While a run is going a further start
    // is ignored, so that two workers never write the same files.
    bool Start(UpdatePort& port) override;
    bool Running() const override;
    bool Cancel() override;

    // Stops the run and waits at most `grace` for it; true when it ended,
    // false when it was let go still running.
    static bool Leave(std::unique_ptr<Tmt> worker, std::chrono::milliseconds grace);
    // Workers let go whose thread has not ended yet.
    static int LeftBehind() { return leftBehind_.load(); }
    // True once any worker was let go, even one whose thread has since ended:
    // the count drops before that thread has finished exiting, so the program
    // must not run its exit handlers on the strength of it.
    static bool AnyLeftBehind() { return anyLeftBehind_.load(); }

private:
    // Hands a worker that did not stop within the grace (blocked in the
    // system: a FIFO's open, an fsync on a stuck disk) to a detached thread
    // that frees it once its blocked call comes back, counted until then.
    static void LetGo(std::unique_ptr<Tmt> worker);

    const std::shared_ptr<const UpdateSettings> settings_;
    std::unique_ptr<Tmt> worker_;
    static inline std::atomic<int> leftBehind_{0};
    static inline std::atomic<bool> anyLeftBehind_{false};
};

}  // namespace update
