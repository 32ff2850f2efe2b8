#pragma once
// The steps of one update, each answering nothing when it succeeded and
// otherwise why the run fails. Tmt runs them on its thread.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

#include "update/failure.h"
#include "folder/chart_files.h"
#include "folder/update_lock.h"
#include "folder/work_files.h"
#include "update/folder/output_file.h"
#include "update/http/http_transport.h"
#include "update/update_settings.h"

namespace update {

class UpdateRun {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // progress: the progress bar's positions as the steps pass them.
    UpdateRun(const UpdateSettings& settings, Deadline deadline, std::stop_token stop,
              std::function<void(int position)> progress);

    // In order: the chart folder's update lock, a commit a killed run left, the
    // three downloads (each followed by its signature for a signed chart), the
    // checks that only a chart its publisher signed replaces the chart, the commit.
    std::optional<Failure> Steps();
    // What a run leaves when it ends: its client and file let go, and, when
    // it failed, its staging files (unless another copy's are in the folder).
    void End(const std::optional<Failure>& failure);

private:
    // Between steps: a stop asked for, or the run's time is up.
    std::optional<Failure> Checkpoint() const;
    std::optional<Failure> TakeLock();
    std::optional<Failure> CreateClient();
    std::optional<Failure> Download(const folder::ChartFile& file);
    std::optional<Failure> DownloadSignature(const folder::ChartFile& signature);
    std::optional<Failure> CheckAndCommit();

    const UpdateSettings& settings_;
    const Deadline deadline_;  // from the click, not from the thread's start
    const std::stop_token stop_;
    const std::function<void(int)> progress_;
    const folder::WorkFiles folder_;         // the chart folder, as every step names its files
    // The worker's two fields under their given names, held by the run since neither outlives one.
    std::unique_ptr<HttpTransport> Http;  // the HTTP client of all the run's downloads
    std::unique_ptr<OutputFile> Stream;   // the staging file being written
    std::unique_ptr<folder::UpdateLock> lock_;    // the chart folder's, until the commit ends
};

}  // namespace update
