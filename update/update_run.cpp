// The steps of one update, in order.
#include "update/update_run.h"

#include "update/check/chart_signatures.h"
#include "update/check/staged_chart_check.h"
#include "folder/chart_commit.h"
#include "update/http_module.h"

namespace update {
namespace {

using folder::ChartFile, folder::kChartFiles, folder::kSignatureFiles, folder::StagedSet;

std::string JoinUrl(std::string base, const char* path) {
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + path;
}

}  // namespace

UpdateRun::UpdateRun(const UpdateSettings& settings, Deadline deadline, std::stop_token stop,
                     std::function<void(int)> progress)
    : settings_(settings),
      deadline_(deadline),
      stop_(std::move(stop)),
      progress_(std::move(progress)),
      folder_(settings.chartDirectory) {}

std::optional<Failure> UpdateRun::Checkpoint() const {
    if (stop_.stop_requested()) return MakeFailure(FailureKind::Cancelled);
    if (std::chrono::steady_clock::now() >= deadline_) return MakeFailure(FailureKind::NoAnswerInTime);
    return std::nullopt;
}

std::optional<Failure> UpdateRun::Steps() {
    progress_(0);
    // Without the executable's folder there is no chart folder and no module.
    if (settings_.chartDirectory.empty()) return MakeFailure(FailureKind::NoProgramFolder);
    if (auto failure = TakeLock()) return failure;
    if (auto failure = Checkpoint()) return failure;
    // A run that was killed may have left staging files behind, or a chart
    // half put in place that must be completed before new downloads start.
    if (auto failure = folder::FinishInterruptedUpdate(folder_)) return FromFolder(*failure);
    const bool signedChart = !settings_.publisherKey.empty();
    if (auto failure = folder::PrepareKeptFiles(folder_, StagedSet(signedChart))) return FromFolder(*failure);
    if (auto failure = Checkpoint()) return failure;
    if (auto failure = CreateClient()) return failure;
    progress_(33);

    // Each file and, for a signed chart, its signature count as one step.
    constexpr int kProgressAfter[] = {66, 100};
    for (std::size_t i = 0; i < kChartFiles.size(); ++i) {
        if (auto failure = Checkpoint()) return failure;
        if (auto failure = Download(kChartFiles[i])) return failure;
        if (signedChart) {
            if (auto failure = DownloadSignature(kSignatureFiles[i])) return failure;
        }
        if (i < std::size(kProgressAfter)) progress_(kProgressAfter[i]);
    }
    progress_(0);
    return CheckAndCommit();
}

// Only a chart replaces a chart, and with a key only its publisher's release;
// the signatures that were checked go in place with the chart, or neither does.
std::optional<Failure> UpdateRun::CheckAndCommit() {
    // Once the window has let go, or the time is up, the files are not touched any more.
    if (auto failure = Checkpoint()) return failure;
    const auto staged = ReadStagedChart(folder_);
    if (!staged) return staged.Why();
    const bool signedChart = !settings_.publisherKey.empty();
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
    if (auto failure = Checkpoint()) return failure;
    return FromFolder(folder::CommitStagingFiles(folder_, StagedSet(signedChart)));
}

// One updater per chart folder: while another copy of the program updates it,
// this run touches nothing there.
std::optional<Failure> UpdateRun::TakeLock() {
    lock_ = std::make_unique<folder::UpdateLock>(folder_);
    return FromFolder(lock_->Why());
}

// The HTTP module (libcurl and its chain) is loaded here, by the first update,
// on this thread: never at start-up, never on the window's thread.
std::optional<Failure> UpdateRun::CreateClient() {
    auto client = HttpModule::Program().CreateClient(
        {settings_.connectTimeout, settings_.stallTimeout, settings_.bodyCap, deadline_, settings_.caFile});
    if (!client) return client.Why();
    Http = std::move(*client);
    return std::nullopt;
}

std::optional<Failure> UpdateRun::Download(const ChartFile& file) {
    // Made fresh: never a file another user planted or linked at the name.
    const std::string staging = folder_.Staging(file);
    auto fd = folder_.CreateFresh(staging, folder::WorkFiles::kChartMode);
    if (!fd) {
        Failure failure = FromFolder(fd.Why());
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
std::optional<Failure> UpdateRun::DownloadSignature(const ChartFile& signature) {
    auto failure = Download(signature);
    if (failure && failure->kind == FailureKind::HttpStatus && (failure->status == 404 || failure->status == 410)) {
        return MakeFailure(FailureKind::NotSigned, signature.urlPath);
    }
    return failure;
}

void UpdateRun::End(const std::optional<Failure>& failure) {
    Stream.reset();
    Http.reset();
    // Staging files in a folder another copy is updating are that copy's.
    if (failure && lock_ && lock_->Held()) folder::DiscardStagingFiles(folder_);
    lock_.reset();
}

}  // namespace update
