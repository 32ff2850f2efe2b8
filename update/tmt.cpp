#include "update/tmt.h"

#include <pthread.h>

#include "update/folder/chart_commit.h"
#include "update/check/chart_signatures.h"
#include "update/http_module.h"
#include "update/check/staged_chart_check.h"

namespace update {
namespace {

std::string JoinUrl(std::string base, const char* path) {
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + path;
}

}  // namespace

Tmt::Tmt(UpdatePort& port, UpdateSettings settings)
    : port_(port),
      settings_(std::move(settings)),
      deadline_(std::chrono::steady_clock::now() + settings_.updateDeadline),
      folder_(settings_.chartDirectory),
      thread_([this](std::stop_token stop) { Execute(std::move(stop)); }) {}

void Tmt::Cancel() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
}

bool Tmt::Leave(std::unique_ptr<Tmt> worker, std::chrono::milliseconds grace) {
    if (!worker) return true;
    Tmt& run = *worker;
    run.thread_.request_stop();
    std::unique_lock<std::mutex> hold(run.leash_);
    // The run's steps see the stop within a fraction of a second, unless the
    // thread is blocked in a call that does not come back.
    if (run.endedSignal_.wait_for(hold, grace, [&run] { return run.ended_; })) {
        hold.unlock();
        return true;  // worker's destructor joins a thread past its last step
    }
    run.thread_.detach();
    anyLeftBehind_.store(true);
    leftBehind_.fetch_add(1);
    run.self_ = std::move(worker);
    return false;
}

template <typename Call>
void Tmt::Tell(Call call) {
    const std::lock_guard<std::mutex> hold(leash_);
    if (!stop_.stop_requested()) call();
}

void Tmt::Progress(int position) {
    Tell([&] { port_.SetProgress(position); });
}

void Tmt::Execute(std::stop_token stop) {
    // Named, so that the run's thread can be told apart (ps, a debugger, tests).
    ::pthread_setname_np(::pthread_self(), kThreadName);
    stop_ = std::move(stop);
    End(Run(deadline_));
    std::unique_lock<std::mutex> hold(leash_);
    ended_ = true;
    if (!self_) {
        endedSignal_.notify_all();
        return;
    }
    // Left behind: nobody waits for this thread, and the worker is its own.
    std::unique_ptr<Tmt> self = std::move(self_);
    hold.unlock();
    self.reset();
    leftBehind_.fetch_sub(1);
}

std::optional<Failure> Tmt::Checkpoint(Deadline deadline) const {
    if (stop_.stop_requested()) return MakeFailure(FailureKind::Cancelled);
    if (std::chrono::steady_clock::now() >= deadline) return MakeFailure(FailureKind::NoAnswerInTime);
    return std::nullopt;
}

std::optional<Failure> Tmt::Run(Deadline deadline) {
    Tell([this] { port_.SetGridEnabled(false); });
    Progress(0);
    // Without the executable's folder there is no chart folder and no module.
    if (settings_.chartDirectory.empty()) return MakeFailure(FailureKind::NoProgramFolder);
    if (auto failure = TakeLock()) return failure;
    if (auto failure = Checkpoint(deadline)) return failure;
    // A run that was killed may have left staging files behind, or a chart
    // half put in place that must be completed before new downloads start.
    if (auto failure = FinishInterruptedUpdate(folder_)) return failure;
    const bool signedChart = !settings_.publisherKey.empty();
    if (auto failure = PrepareKeptFiles(folder_, StagedSet(signedChart))) return failure;
    if (auto failure = Checkpoint(deadline)) return failure;
    if (auto failure = CreateClient(deadline)) return failure;
    Progress(33);

    // Each file and, for a signed chart, its signature count as one step.
    constexpr int kProgressAfter[] = {66, 100};
    for (std::size_t i = 0; i < kChartFiles.size(); ++i) {
        if (auto failure = Checkpoint(deadline)) return failure;
        if (auto failure = Download(kChartFiles[i])) return failure;
        if (signedChart) {
            if (auto failure = DownloadSignature(kSignatureFiles[i])) return failure;
        }
        if (i < std::size(kProgressAfter)) Progress(kProgressAfter[i]);
    }
    Progress(0);

    // Once the window has let go, or the time is up, the files are not
    // touched any more.
    if (auto failure = Checkpoint(deadline)) return failure;
    // Only a chart replaces a chart, and with a key only its publisher's release.
    const auto staged = ReadStagedChart(folder_);
    if (!staged) return staged.Why();
    if (signedChart) {
        const auto primitives = HttpModule::Program().Primitives();
        if (!primitives) return primitives.Why();
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const auto seconds = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count());
        if (auto failure = CheckStagedSignatures(**primitives, folder_, *staged, settings_.publisherKey, seconds)) {
            return failure;
        }
    }
    Http.reset();
    if (auto failure = Checkpoint(deadline)) return failure;
    // The signatures that were checked go in place with the chart, or neither does.
    return CommitStagingFiles(folder_, StagedSet(signedChart));
}

// One updater per chart folder: while another copy of the program updates it,
// this run touches nothing there.
std::optional<Failure> Tmt::TakeLock() {
    lock_ = std::make_unique<UpdateLock>(folder_);
    return lock_->Why();
}

// The HTTP module (libcurl and its chain) is loaded here, by the first update,
// on this thread: never at start-up, never on the window's thread.
std::optional<Failure> Tmt::CreateClient(Deadline deadline) {
    auto client = HttpModule::Program().CreateClient(
        {settings_.connectTimeout, settings_.stallTimeout, settings_.bodyCap, deadline, settings_.caFile});
    if (!client) return client.Why();
    Http = std::move(*client);
    return std::nullopt;
}

std::optional<Failure> Tmt::Download(const ChartFile& file) {
    // Made fresh: never a file another user planted or linked at the name.
    const std::string staging = folder_.Staging(file);
    auto fd = folder_.CreateFresh(staging, WorkFiles::kChartMode);
    if (!fd) {
        Failure failure = fd.Why();
        failure.urlPath = file.urlPath;
        return failure;
    }
    Stream = std::make_unique<OutputFile>(staging, file.urlPath, std::move(*fd));
    auto failure = Http->Get(JoinUrl(settings_.baseUrl, file.urlPath), file.urlPath, *Stream, stop_);
    if (!failure) failure = Stream->Finish();
    Stream.reset();
    return failure;
}

// A signature the data server does not have means the chart is not signed;
// any other failure is told as it is.
std::optional<Failure> Tmt::DownloadSignature(const ChartFile& signature) {
    auto failure = Download(signature);
    if (failure && failure->kind == FailureKind::HttpStatus && (failure->status == 404 || failure->status == 410)) {
        return MakeFailure(FailureKind::NotSigned, signature.urlPath);
    }
    return failure;
}

void Tmt::End(const std::optional<Failure>& failure) {
    Stream.reset();
    Http.reset();
    // Staging files in a folder another copy is updating are that copy's.
    if (failure && lock_ && lock_->Held()) {
        DiscardStagingFiles(folder_);
    }
    lock_.reset();
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
