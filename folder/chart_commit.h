#pragma once
// Putting a set of staging files in place as one step (all or none, even when a
// rename fails part-way or the run is killed), and finishing one cut off.
#include <optional>
#include <string>

#include "chart/window_ports.h"
#include "folder/folder_failure.h"
#include "folder/work_files.h"

namespace folder {

// Before any download: each file of the set that exists is the user's own (a
// backup of another member's file could not be removed again in a sticky
// folder), and a signature's name holds a regular file or nothing (a link, a
// FIFO or a folder of the user's own is cleared). Otherwise the run fails
// naming the folder, touching nothing.
[[nodiscard]] std::optional<Failure> PrepareKeptFiles(const WorkFiles& folder, FileSet set);

// True while a commit (or its roll-back) of the user's own has begun and not
// yet ended.
bool CommitPending(const WorkFiles& folder);

// Checks that each file of the set can be replaced (absent, a regular file, or
// a symbolic link to one), then puts its staging files in place as above.
// When that fails, the files are exactly the old ones, unless the roll-back
// itself failed (then the roll-back marker stays for FinishCutOffCommit).
[[nodiscard]] std::optional<Failure> CommitStagingFiles(const WorkFiles& folder,
                                                        FileSet set = StagedSet(false));

// Finishes a commit (or roll-back) of the user's own that was cut off, over
// the set its marker names: forward, or back when a new file was lost.
// Nothing to do without such a marker. When it cannot be finished the marker
// stays, and the chart files, which may mix two charts, must not be read.
// With a window (on the user-interface thread) the window answers while the
// locks are waited for, and may end the wait (a Cancelled failure).
[[nodiscard]] std::optional<Failure> FinishCutOffCommit(const WorkFiles& folder, chart::WaitPort* window = nullptr);

// Under the update lock, before the chart folder is read or updated: a
// cut-off commit finished, or else the staging files and backups an
// unfinished download left (of all six names) removed.
[[nodiscard]] std::optional<Failure> FinishInterruptedUpdate(const WorkFiles& folder,
                                                             chart::WaitPort* window = nullptr);

// What a failed run does with its staging files: removes them, unless a
// commit is pending (then they belong to the chart that is being put in place).
void DiscardStagingFiles(const WorkFiles& folder);

}  // namespace folder
