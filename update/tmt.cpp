#include "tmt.h"

#include "chart_commit.h"
#include "http_module.h"
#include "staged_chart_check.h"

namespace update {
namespace {

std::string JoinUrl(std::string base, const char* path) {
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + path;
}

}  // namespace

Tmt::Tmt(UpdatePort& port, UpdateSettings settings)
    : port_(port), settings_(std::move(settings)) {
    thread_ = std::thread([this] { Execute(); });
}

Tmt::~Tmt() { Cancel(); }

void Tmt::Cancel() {
    cancelled_.store(true);
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void Tmt::Progress(int position) {
    if (!cancelled_.load()) port_.SetProgress(position);
}

void Tmt::Execute() {
    const auto deadline = std::chrono::steady_clock::now() + settings_.updateDeadline;
    if (!cancelled_.load()) port_.SetGridEnabled(false);
    Progress(0);
    // One updater per chart folder: while another copy of the program updates
    // it, this run touches nothing there.
    lock_ = std::make_unique<UpdateLock>(settings_.chartDirectory);
    if (lock_->Result() == UpdateLock::State::Busy) {
        Fail(MakeFailure(FailureKind::AnotherCopyUpdating));
        return;
    }
    if (!lock_->Held()) {
        Fail(WriteFailure({}, lock_->Path(), lock_->Error()));
        return;
    }
    // A run that was killed may have left staging files behind, or a chart
    // half put in place that must be completed before new downloads start.
    CommitError leftover;
    if (!FinishInterruptedUpdate(settings_.chartDirectory, leftover)) {
        Fail(CommitFailure(leftover));
        return;
    }

    // The HTTP module (libcurl and its chain) is loaded here, by the first
    // update, on this thread: never at start-up, never on the window's thread.
    std::string missing;
    if (!(Http = HttpModule::CreateClient({settings_.connectTimeout, settings_.stallTimeout,
                                           settings_.bodyCap, deadline},
                                          missing))) {
        Failure failure = MakeFailure(FailureKind::ClientNotCreated);
        failure.detail = std::move(missing);
        Fail(failure);
        return;
    }
    Progress(33);

    constexpr int kProgressAfter[] = {66, 100};
    for (std::size_t i = 0; i < kChartFiles.size(); ++i) {
        if (auto failure = Download(kChartFiles[i])) {
            Fail(*failure);
            return;
        }
        if (i < std::size(kProgressAfter)) Progress(kProgressAfter[i]);
    }
    Http.reset();
    Progress(0);

    // Once the window has let go, the files are not touched any more.
    if (cancelled_.load()) {
        Fail(MakeFailure(FailureKind::Cancelled));
        return;
    }
    if (!StagedFilesAreAChart(settings_.chartDirectory)) {
        Fail(MakeFailure(FailureKind::NotAChart));
        return;
    }
    CommitError commitError;
    if (!CommitStagingFiles(settings_.chartDirectory, commitError)) {
        Fail(CommitFailure(commitError));
        return;
    }
    lock_.reset();
    if (cancelled_.load()) {
        running_.store(false);
        return;
    }
    port_.ReadAll();
    running_.store(false);
    port_.UpdateFinished();
}

std::optional<Failure> Tmt::Download(const ChartFile& file) {
    if (cancelled_.load()) return MakeFailure(FailureKind::Cancelled);
    Stream = std::make_unique<OutputFile>(StagingPath(settings_.chartDirectory, file));
    if (!Stream->IsOpen()) {
        return WriteFailure(file.urlPath, Stream->Path(), Stream->Error());
    }
    auto failure = Http->Get(JoinUrl(settings_.baseUrl, file.urlPath), file.urlPath, *Stream,
                             cancelled_);
    if (!failure && !Stream->Finish()) {
        failure = WriteFailure(file.urlPath, Stream->Path(), Stream->Error());
    }
    Stream.reset();
    return failure;
}

void Tmt::Fail(const Failure& failure) {
    Stream.reset();
    Http.reset();
    // Staging files in a folder another copy is updating are that copy's.
    if (lock_ && lock_->Held()) DiscardStagingFiles(settings_.chartDirectory);
    lock_.reset();
    if (failure.kind == FailureKind::Cancelled) {
        running_.store(false);
        return;
    }
    port_.UpdateFailed(FailureMessage(failure));
    running_.store(false);
    port_.UpdateFinished();
}

}  // namespace update
