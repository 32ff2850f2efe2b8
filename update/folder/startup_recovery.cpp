#include "update/folder/startup_recovery.h"

#include <thread>

#include "update/folder/chart_commit.h"
#include "update/failure.h"
#include "update/folder/update_lock.h"

namespace update {

std::optional<Failure> RecoverChartFolder(const std::string& chartDirectory,
                                         std::chrono::milliseconds commitWait) {
    using Clock = std::chrono::steady_clock;
    const auto giveUp = Clock::now() + commitWait;
    const WorkFiles folder(chartDirectory);
    for (;;) {
        const UpdateLock lock(folder);
        // Without a lock file (a folder this user cannot write to) nobody
        // updates here; only a commit that was cut off needs finishing.
        if (lock.Held() || (lock.State() == UpdateLock::LockState::Failed && CommitPending(folder))) {
            return FinishInterruptedUpdate(folder);
        }
        if (lock.State() == UpdateLock::LockState::Failed) return std::nullopt;
        // Another copy is downloading: the chart files are whole.
        if (!CommitPending(folder)) return std::nullopt;
        if (Clock::now() >= giveUp) return MakeFailure(FailureKind::AnotherCopyUpdating);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace update
