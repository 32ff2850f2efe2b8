// Start-up's recovery of the chart folder, under the update lock.
#include "folder/startup_recovery.h"

#include "folder/chart_commit.h"
#include "folder/update_lock.h"

namespace folder {

std::optional<Failure> RecoverChartFolder(const std::string& chartDirectory, chart::WaitPort* window) {
    const WorkFiles folder(chartDirectory);
    const UpdateLock lock(folder);
    // Without a lock file (a folder this user cannot write to) nobody
    // updates here; only a commit that was cut off needs finishing.
    if (lock.Held() || (lock.State() == UpdateLock::LockState::Failed && CommitPending(folder))) {
        return FinishInterruptedUpdate(folder, window);
    }
    return std::nullopt;
}

}  // namespace folder
