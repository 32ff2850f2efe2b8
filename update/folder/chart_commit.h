#pragma once
// Putting the staging files of a set (StagedSet: the three chart files, and
// for a signed chart their signatures) in place as one step: all of them or
// none, even when a rename fails part-way or the run is killed.
//
// First the commit marker is made (written whole under another name, then
// renamed into place), saying whether the set holds the
// signatures and listing its files that do not exist yet (so that whoever
// finishes the commit knows its set); then each file being replaced gets a second name, its backup (a hard
// link; where the file system has none, as on FAT, the file itself is moved
// to that name just before its replacement goes over it). One folder flush
// makes the marker and the backups durable before the first rename: from then
// on the new set is decided, and whoever finds the marker (the next start,
// or the next update) finishes the renames a killed run did not get to. A
// staging file found missing then is checked against its target: a target
// that is absent or still the backup's file means the new file was lost, and
// the commit is rolled back instead. A rename that fails turns the marker
// into a roll-back marker and puts the backups back, so the old files are
// whole again; a run killed during that is rolled back the same way later.
// After the renames one flush more, then the marker and the backups go.
// Without a marker, staging files and backups are only the remains of an
// unfinished download and are removed.
//
// Only the user's own markers, staging files and backups are acted on
// (WorkFiles): anything else at those names is left alone, and the chart on
// disk is read as it stands.
//
// Everything here runs under the chart folder's UpdateLock; the renames also
// hold the ChartFolderLock exclusively, so that no reload reads a mix.
//
// Each step answers nothing when it succeeded and otherwise the failure the
// user is told of.
#include <optional>
#include <string>

#include "chart/window_ports.h"
#include "update/folder/work_files.h"
#include "update/failure.h"

namespace update {

// Before any download: each file of the set that exists is the user's own (a
// backup of another member's file could not be removed again in a sticky
// folder), and a signature's name holds a regular file or nothing (a link, a
// FIFO or a folder of the user's own is cleared). Otherwise the run fails
// naming the folder, touching nothing.
[[nodiscard]] std::optional<Failure> PrepareKeptFiles(const WorkFiles& files, FileSet set);

// True while a commit (or its roll-back) of the user's own has begun and not
// yet ended.
bool CommitPending(const WorkFiles& files);

// Checks that each file of the set can be replaced (absent, a regular file, or
// a symbolic link to one), then puts its staging files in place as above.
// When that fails, the files are exactly the old ones, unless the roll-back
// itself failed (then the roll-back marker stays for FinishInterruptedUpdate).
[[nodiscard]] std::optional<Failure> CommitStagingFiles(const WorkFiles& files,
                                                        FileSet set = StagedSet(false));

// Brings the chart directory to a consistent state before it is read or
// updated: finishes a marked commit or roll-back over the set its marker
// names, or removes leftover staging files and backups (of all six names). When that cannot be done the marker is kept; the chart
// files may then mix old and new ones and must not be read. With a window
// (on the user-interface thread) the window answers while the folder's lock
// is waited for, and may end the wait (a Cancelled failure).
[[nodiscard]] std::optional<Failure> FinishInterruptedUpdate(const WorkFiles& files,
                                                             chart::WaitPort* window = nullptr);

// What a failed run does with its staging files: removes them, unless a
// commit is pending (then they belong to the chart that is being put in place).
void DiscardStagingFiles(const WorkFiles& files);

}  // namespace update
