// Tmt, the update worker: one run's steps on its own thread, reported through the port.
#include "update/tmt.h"

#include <pthread.h>

#include "update/update_run.h"

namespace update {

Tmt::Tmt(UpdatePort& port, std::shared_ptr<const UpdateSettings> settings)
    : port_(port),
      settings_(std::move(settings)),
      deadline_(std::chrono::steady_clock::now() + settings_->updateDeadline),
      thread_([this](std::stop_token stop) { Execute(std::move(stop)); }) {}

void Tmt::Cancel() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
}

bool Tmt::StopWithin(std::chrono::milliseconds grace) {
    thread_.request_stop();
    std::unique_lock<std::mutex> hold(leash_);
    // The run's steps see the stop within a fraction of a second, unless the
    // thread is blocked in a call that does not come back.
    return endedSignal_.wait_for(hold, grace, [this] { return ended_; });
}

template <typename Call>
void Tmt::Tell(Call call) {
    const std::lock_guard<std::mutex> hold(leash_);
    if (!stop_.stop_requested()) call();
}

void Tmt::Execute(std::stop_token stop) {
    // Named, so that the run's thread can be told apart (ps, a debugger).
    ::pthread_setname_np(::pthread_self(), kThreadName);
    stop_ = std::move(stop);
    {
        Tell([this] { port_.SetGridEnabled(false); });
        UpdateRun run(*settings_, deadline_, stop_, [this](int position) {
            Tell([&] { port_.SetProgress(position); });
        });
        const auto failure = run.Steps();
        run.End(failure);
        Report(failure);
    }
    const std::lock_guard<std::mutex> hold(leash_);
    ended_ = true;
    endedSignal_.notify_all();
}

void Tmt::Report(const std::optional<Failure>& failure) {
    // A cancelled run makes no further port call; one cancelled after its
    // commit leaves the reload to the next start.
    const bool told = failure ? failure->kind != FailureKind::Cancelled : !stop_.stop_requested();
    if (told) {
        if (failure)
            Tell([&] { port_.UpdateFailed(FailureMessage(*failure)); });
        else
            Tell([this] { port_.ReadAll(); });
    }
    running_.store(false);
    if (told) Tell([this] { port_.UpdateFinished(); });
}

}  // namespace update
