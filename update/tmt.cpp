#include "tmt.h"

#include "chart_commit.h"
#include "chart_signatures.h"
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
    RemoveStagedSignatures(settings_.chartDirectory);
    if (auto failure = CreateClient(deadline)) return failure;
    Progress(33);

    // Each file and, for a signed chart, its signature count as one step.
    const bool signedChart = !settings_.publisherKey.empty();
    constexpr int kProgressAfter[] = {66, 100};
    for (std::size_t i = 0; i < kChartFiles.size(); ++i) {
        if (auto failure = Download(kChartFiles[i])) return failure;
        if (signedChart) {
            if (auto failure = DownloadSignature(kSignatureFiles[i])) return failure;
        }
        if (i < std::size(kProgressAfter)) Progress(kProgressAfter[i]);
    }
    Progress(0);

    // Once the window has let go, the files are not touched any more.
    if (stop_.stop_requested()) return MakeFailure(FailureKind::Cancelled);
    if (!StagedFilesAreAChart(settings_.chartDirectory)) return MakeFailure(FailureKind::NotAChart);
    if (signedChart) {
        if (auto failure = CheckStagedSignatures(*Http, settings_.chartDirectory, settings_.publisherKey)) {
            return failure;
        }
    }
    Http.reset();
    if (auto failure = CommitStagingFiles(settings_.chartDirectory)) return failure;
    if (signedChart) KeepStagedSignatures(settings_.chartDirectory);
    return std::nullopt;
}

// One updater per chart folder: while another copy of the program updates it,
// this run touches nothing there.
std::optional<Failure> Tmt::TakeLock() {
    lock_ = std::make_unique<UpdateLock>(settings_.chartDirectory);
    if (lock_->Result() == UpdateLock::State::Busy) return MakeFailure(FailureKind::AnotherCopyUpdating);
    if (!lock_->Held()) return WriteFailure({}, lock_->Path(), lock_->Error());
    return std::nullopt;
}

// The HTTP module (libcurl and its chain) is loaded here, by the first update,
// on this thread: never at start-up, never on the window's thread.
std::optional<Failure> Tmt::CreateClient(Deadline deadline) {
    std::string missing;
    Http = HttpModule::CreateClient(
        {settings_.connectTimeout, settings_.stallTimeout, settings_.bodyCap, deadline, settings_.caFile}, missing);
    if (Http) return std::nullopt;
    Failure failure = MakeFailure(FailureKind::ClientNotCreated);
    failure.detail = std::move(missing);
    return failure;
}

std::optional<Failure> Tmt::Download(const ChartFile& file) {
    if (stop_.stop_requested()) return MakeFailure(FailureKind::Cancelled);
    Stream = std::make_unique<OutputFile>(StagingPath(settings_.chartDirectory, file));
    if (!Stream->IsOpen()) {
        return WriteFailure(file.urlPath, Stream->Path(), Stream->Error());
    }
    auto failure = Http->Get(JoinUrl(settings_.baseUrl, file.urlPath), file.urlPath, *Stream, stop_);
    if (!failure && !Stream->Finish()) {
        failure = WriteFailure(file.urlPath, Stream->Path(), Stream->Error());
    }
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
        DiscardStagingFiles(settings_.chartDirectory);
        RemoveStagedSignatures(settings_.chartDirectory);
    }
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
