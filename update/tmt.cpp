#include "tmt.h"

#include "chart_commit.h"
#include "http_module.h"
#include "staged_chart_check.h"
#include "work_files.h"

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
      thread_([this](std::stop_token stop) { Execute(std::move(stop)); }) {}

void Tmt::Cancel() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
}

void Tmt::Progress(int position) {
    if (!stop_.stop_requested()) port_.SetProgress(position);
}

void Tmt::Execute(std::stop_token stop) {
    stop_ = std::move(stop);
    End(Run(std::chrono::steady_clock::now() + settings_.updateDeadline));
}

std::optional<Failure> Tmt::Run(Deadline deadline) {
    if (!stop_.stop_requested()) port_.SetGridEnabled(false);
    Progress(0);
    if (auto failure = TakeLock()) return failure;
    // A run that was killed may have left staging files behind, or a chart
    // half put in place that must be completed before new downloads start.
    if (auto failure = FinishInterruptedUpdate(settings_.chartDirectory)) return failure;
    if (auto failure = CreateClient(deadline)) return failure;
    Progress(33);

    constexpr int kProgressAfter[] = {66, 100};
    for (std::size_t i = 0; i < kChartFiles.size(); ++i) {
        if (auto failure = Download(kChartFiles[i])) return failure;
        if (i < std::size(kProgressAfter)) Progress(kProgressAfter[i]);
    }
    Http.reset();
    Progress(0);

    // Once the window has let go, the files are not touched any more.
    if (stop_.stop_requested()) return MakeFailure(FailureKind::Cancelled);
    if (!StagedFilesAreAChart(settings_.chartDirectory)) return MakeFailure(FailureKind::NotAChart);
    return CommitStagingFiles(settings_.chartDirectory);
}

// One updater per chart folder: while another copy of the program updates it,
// this run touches nothing there.
std::optional<Failure> Tmt::TakeLock() {
    lock_ = std::make_unique<UpdateLock>(settings_.chartDirectory);
    return lock_->Why();
}

// The HTTP module (libcurl and its chain) is loaded here, by the first update,
// on this thread: never at start-up, never on the window's thread.
std::optional<Failure> Tmt::CreateClient(Deadline deadline) {
    std::string missing;
    Http = HttpModule::CreateClient(
        {settings_.connectTimeout, settings_.stallTimeout, settings_.bodyCap, deadline}, missing);
    if (Http) return std::nullopt;
    Failure failure = MakeFailure(FailureKind::ClientNotCreated);
    failure.detail = std::move(missing);
    return failure;
}

std::optional<Failure> Tmt::Download(const ChartFile& file) {
    if (stop_.stop_requested()) return MakeFailure(FailureKind::Cancelled);
    // Made fresh: never a file another user planted or linked at the name.
    const WorkFiles files(settings_.chartDirectory);
    auto fd = files.CreateFresh(files.Staging(file));
    if (!fd) {
        Failure failure = fd.Why();
        failure.urlPath = file.urlPath;
        return failure;
    }
    Stream = std::make_unique<OutputFile>(files.Staging(file), std::move(*fd));
    auto failure = Http->Get(JoinUrl(settings_.baseUrl, file.urlPath), file.urlPath, *Stream, stop_);
    if (!failure && !Stream->Finish()) {
        failure = WriteFailure(file.urlPath, Stream->Path(), Stream->Error());
    }
    Stream.reset();
    return failure;
}

void Tmt::End(const std::optional<Failure>& failure) {
    Stream.reset();
    Http.reset();
    // Staging files in a folder another copy is updating are that copy's.
    if (failure && lock_ && lock_->Held()) DiscardStagingFiles(settings_.chartDirectory);
    lock_.reset();
    // A cancelled run makes no further port call; one cancelled after its
    // commit leaves the reload to the next start.
    const bool told = failure ? failure->kind != FailureKind::Cancelled : !stop_.stop_requested();
    if (told) {
        if (failure)
            port_.UpdateFailed(FailureMessage(*failure));
        else
            port_.ReadAll();
    }
    running_.store(false);
    if (told) port_.UpdateFinished();
}

}  // namespace update
