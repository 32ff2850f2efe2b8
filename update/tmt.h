#pragma once
// Tmt, the update worker (the name is the system's own): a thread that starts as soon as it is constructed,
// fetches "data", "policy" and "version" from the data server into staging
// files (each followed by its signature when the publisher's key is set, see
// chart_signatures.h), and only when all three have arrived, read as a chart
// and are signed puts them in place and asks the window to reload (ReadAll). A failed run leaves the three
// files as they were and tells the window why. A run holds the chart folder's
// update lock from start to commit; a run that finds it held elsewhere fails
// at once. The settings' deadline runs from the worker's creation (the click)
// to the end of the commit: a run past it fails between its steps. A run
// killed while putting the files in place is completed by the next start or
// update (see chart_commit.h).
//
// Port calls, in order: SetGridEnabled(false), SetProgress(0), SetProgress(33),
// [data] SetProgress(66), [policy] SetProgress(100), [version] SetProgress(0),
// ReadAll(), UpdateFinished(). A failure ends with UpdateFailed(message),
// UpdateFinished(). A cancelled run makes no further port calls.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "update/folder/chart_files.h"
#include "update/failure.h"
#include "update/http/http_transport.h"
#include "update/folder/output_file.h"
#include "update/folder/work_files.h"
#include "update/folder/update_lock.h"
#include "update/update_port.h"
#include "update/update_settings.h"

namespace update {

class Tmt {
public:
    Tmt(UpdatePort& port, UpdateSettings settings);
    // Cancels a run still going and waits for the thread, however long it
    // takes: a worker that may block in the system is given up with Leave.
    ~Tmt() = default;  // thread_ goes first, stopping and joining the run
    Tmt(const Tmt&) = delete;
    Tmt& operator=(const Tmt&) = delete;

    // Stops the run at the next opportunity and joins the thread. The three
    // files are left untouched and the staging files removed, unless the
    // new files were already being put in place (then that completes).
    void Cancel();
    // Stops the run and waits at most `grace` for its thread; true when it
    // ended. A thread that has not (blocked in the system: a FIFO's open, an
    // fsync on a stuck disk) is left behind: it goes on alone, makes no
    // further port call, and frees the worker when it ends. The window's
    // thread never waits longer than the grace.
    static bool Leave(std::unique_ptr<Tmt> worker, std::chrono::milliseconds grace);
    // Workers left behind whose thread has not ended yet (the program ends
    // without waiting for them).
    static int LeftBehind() { return leftBehind_.load(); }
    // True once any worker was left behind, even one whose thread has since
    // ended: the count drops before that thread has finished exiting, so
    // the program must not run its exit handlers on the strength of it.
    static bool AnyLeftBehind() { return anyLeftBehind_.load(); }
    // The run's thread's name (at most 15 characters).
    static constexpr char kThreadName[] = "vantrel-update";
    // True until the run has made its last port call.
    bool Running() const { return running_.load(); }

private:
    using Deadline = std::chrono::steady_clock::time_point;

    void Execute(std::stop_token stop);
    // The run's steps, in order; each answers nothing when it succeeded and
    // otherwise why the run fails.
    std::optional<Failure> Run(Deadline deadline);
    // Between steps: a stop asked for, or the run's time is up.
    std::optional<Failure> Checkpoint(Deadline deadline) const;
    std::optional<Failure> TakeLock();
    std::optional<Failure> CreateClient(Deadline deadline);
    std::optional<Failure> Download(const ChartFile& file);
    std::optional<Failure> DownloadSignature(const ChartFile& signature);
    // The one place a run ends, however it ended.
    void End(const std::optional<Failure>& failure);
    void Progress(int position);  // skipped once cancelled
    // Makes one port call, unless a stop has been asked for.
    template <typename Call>
    void Tell(Call call);

    UpdatePort& port_;
    const UpdateSettings settings_;
    const Deadline deadline_;  // from the click, not from the thread's start
    const WorkFiles folder_;   // the chart folder, as every step of the run names its files
    std::unique_ptr<HttpTransport> Http;  // lives for one run
    std::unique_ptr<OutputFile> Stream;  // the staging file being written
    std::unique_ptr<UpdateLock> lock_;   // the chart folder's, until the commit ends
    std::stop_token stop_;               // the worker thread's own; read there only
    std::atomic<bool> running_{true};
    // Port calls and Leave take turns under leash_, so that once Leave has
    // given up on the run no port call is under way or made later.
    std::mutex leash_;
    std::condition_variable endedSignal_;
    bool ended_ = false;           // under leash_: past the last port call
    std::unique_ptr<Tmt> self_;    // under leash_: set when left behind
    static inline std::atomic<int> leftBehind_{0};
    static inline std::atomic<bool> anyLeftBehind_{false};
    // Last: starts once everything above exists, and is the first to go.
    std::jthread thread_;
};

}  // namespace update
