#pragma once
// The update worker: a thread that starts as soon as it is constructed,
// fetches "data", "policy" and "version" from the data server into staging
// files (each followed by its signature when the publisher's key is set, see
// chart_signatures.h), and only when all three have arrived, read as a chart
// and are signed puts them in place and asks the window to reload (ReadAll). A failed run leaves the three
// files as they were and tells the window why. A run holds the chart folder's
// update lock from start to commit; a run that finds it held elsewhere fails
// at once. Every run ends within the settings' deadline. A run killed while
// putting the files in place is completed by the next start or update (see
// chart_commit.h).
//
// Port calls, in order: SetGridEnabled(false), SetProgress(0), SetProgress(33),
// [data] SetProgress(66), [policy] SetProgress(100), [version] SetProgress(0),
// ReadAll(), UpdateFinished(). A failure ends with UpdateFailed(message),
// UpdateFinished(). A cancelled run makes no further port calls.
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <stop_token>
#include <thread>

#include "update/chart_files.h"
#include "update/failure.h"
#include "update/http_transport.h"
#include "update/output_file.h"
#include "update/update_lock.h"
#include "update/update_port.h"
#include "update/update_settings.h"

namespace update {

class Tmt {
public:
    Tmt(UpdatePort& port, UpdateSettings settings);
    // Cancels a run still going and waits for the thread (well under a second).
    ~Tmt() = default;  // thread_ goes first, stopping and joining the run
    Tmt(const Tmt&) = delete;
    Tmt& operator=(const Tmt&) = delete;

    // Stops the run at the next opportunity and joins the thread. The three
    // files are left untouched and the staging files removed, unless the
    // new files were already being put in place (then that completes).
    void Cancel();
    // True until the run has made its last port call.
    bool Running() const { return running_.load(); }

private:
    using Deadline = std::chrono::steady_clock::time_point;

    void Execute(std::stop_token stop);
    // The run's steps, in order; each answers nothing when it succeeded and
    // otherwise why the run fails.
    std::optional<Failure> Run(Deadline deadline);
    std::optional<Failure> TakeLock();
    std::optional<Failure> CreateClient(Deadline deadline);
    std::optional<Failure> Download(const ChartFile& file);
    std::optional<Failure> DownloadSignature(const ChartFile& signature);
    // The one place a run ends, however it ended.
    void End(const std::optional<Failure>& failure);
    void Progress(int position);  // skipped once cancelled

    UpdatePort& port_;
    const UpdateSettings settings_;
    std::unique_ptr<HttpTransport> Http;  // lives for one run
    std::unique_ptr<OutputFile> Stream;  // the staging file being written
    std::unique_ptr<UpdateLock> lock_;   // the chart folder's, until the commit ends
    std::stop_token stop_;               // the worker thread's own; read there only
    std::atomic<bool> running_{true};
    // Last: starts once everything above exists, and is the first to go.
    std::jthread thread_;
};

}  // namespace update
