#pragma once
// Tmt, the update worker (the name is the system's own): a thread that starts
// as soon as it is constructed, runs one update's steps (UpdateRun) and tells
// the window through its port; a failed run leaves the files as they were.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "update/failure.h"
#include "update/update_port.h"
#include "update/update_settings.h"

namespace update {

// Port calls, in order: SetGridEnabled(false), SetProgress(0), SetProgress(33),
// [data] SetProgress(66), [policy] SetProgress(100), [version] SetProgress(0),
// ReadAll(), UpdateFinished(). A failure ends with UpdateFailed(message),
// UpdateFinished(). A run stopped makes no further port call.
class Tmt {
public:
    // The deadline in settings runs from here (the click) to the end of the commit.
    Tmt(UpdatePort& port, std::shared_ptr<const UpdateSettings> settings);
    Tmt(UpdatePort& port, UpdateSettings settings)
        : Tmt(port, std::make_shared<const UpdateSettings>(std::move(settings))) {}
    // Stops a run still going and waits for its thread, however long it takes
    // (UpdateThread waits only a grace, then hands the worker to a thread
    // that waits for it).
    ~Tmt() = default;  // thread_ goes first, stopping and joining the run
    Tmt(const Tmt&) = delete;
    Tmt& operator=(const Tmt&) = delete;

    // Stops the run and joins the thread. The three files are left untouched
    // and the staging files removed, unless the new files were already being
    // put in place (then that completes).
    void Cancel();
    // Stops the run and waits at most `grace` for its last port call; true
    // when the run ended. Either way the run makes no port call from then
    // on, so one still blocked in the system may go on without its window.
    bool StopWithin(std::chrono::milliseconds grace);

    // The run's thread's name (at most 15 characters).
    static constexpr char kThreadName[] = "vantrel-update";
    // True until the run has made its last port call.
    bool Running() const { return running_.load(); }

private:
    void Execute(std::stop_token stop);
    // Makes one port call, unless a stop has been asked for.
    template <typename Call>
    void Tell(Call call);
    // The one place a run ends, however it ended.
    void Report(const std::optional<Failure>& failure);

    UpdatePort& port_;
    const std::shared_ptr<const UpdateSettings> settings_;
    const std::chrono::steady_clock::time_point deadline_;
    std::stop_token stop_;  // the worker thread's own; read there only
    std::atomic<bool> running_{true};
    // Port calls and StopWithin take turns under leash_, so that once the
    // window has stopped the run no port call is under way or made later.
    std::mutex leash_;
    std::condition_variable endedSignal_;
    bool ended_ = false;  // under leash_: past the last port call
    // Last: starts once everything above exists, and is the first to go.
    std::jthread thread_;
};

}  // namespace update
