#include "update/folder/update_activity.h"

#include <sys/stat.h>

#include "update/folder/chart_commit.h"
#include "update/folder/startup_recovery.h"
#include "update/folder/update_lock.h"

namespace update {
namespace {

bool AnyMarker(const WorkFiles& folder) {
    struct stat info;
    for (const std::string& marker : {folder.CommitMarker(), folder.RollbackMarker()}) {
        if (::lstat(marker.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return true;
    }
    return false;
}

}  // namespace

UpdateActivity::Activity UpdateActivity::Now() {
    const bool ownMarker = CommitPending(folder_);
    if (!ownMarker && !AnyMarker(folder_)) return Activity::None;
    // Taken for a moment only: an update of another copy holds it throughout.
    const UpdateLock probe(folder_);
    if (probe.State() == UpdateLock::LockState::Busy) return Activity::Committing;
    // Another user's marker with nobody at work is not this user's to finish.
    return ownMarker ? Activity::Interrupted : Activity::None;
}

std::optional<std::string> UpdateActivity::FinishInterrupted(chart::WaitPort& window) {
    const auto failure = RecoverChartFolder(folder_.Directory(), &window);
    // Ended by the window: the program is ending, and the reload sees so.
    if (!failure || failure->kind == FailureKind::Cancelled) return std::nullopt;
    return FailureMessage(*failure);
}

}  // namespace update
