#pragma once
// Putting the three staging files in place as one step: all of them or none,
// even when a rename fails part-way or the run is killed.
//
// Before the first rename each file being replaced gets a second name (its
// backup), and a commit marker is written beside the files and synced: from
// then on the new chart is decided, and whoever finds the marker (the next
// start of the program, or the next update) finishes the renames that a
// killed run did not get to. A rename that fails turns the marker into a
// roll-back marker and puts the backups back, so the old chart is whole
// again; a run killed during that is rolled back the same way later. Without
// a marker, staging files and backups are only the remains of an unfinished
// download and are removed. A marker that is not a regular file is no marker.
//
// Everything here runs under the chart folder's UpdateLock.
//
// Each step answers nothing when it succeeded and otherwise the failure the
// user is told of (a file that could not be written or put in place, or a
// chart file's path that holds no file a chart can replace).
#include <optional>
#include <string>

#include "update/failure.h"

namespace update {

// The markers' fixed names beside the chart files. The commit marker lists
// the chart files that did not exist before the commit, one name a line.
std::string CommitMarkerPath(const std::string& directory);
std::string RollbackMarkerPath(const std::string& directory);

// True while a commit (or its roll-back) has begun and not yet ended.
bool CommitPending(const std::string& directory);

// Checks that each chart file can be replaced (absent, a regular file, or a
// symbolic link to one), keeps backups, writes the marker and renames the
// three staging files over the chart files in download order. When that
// fails, the chart files are exactly the old ones, unless the roll-back itself
// failed (then the roll-back marker stays for FinishInterruptedUpdate).
[[nodiscard]] std::optional<Failure> CommitStagingFiles(const std::string& directory);

// Brings the chart directory to a consistent state before it is read or
// updated: finishes a marked commit or roll-back, or removes leftover staging
// files and backups. When that cannot be done the marker is kept; the chart
// files may then mix old and new ones and must not be read.
[[nodiscard]] std::optional<Failure> FinishInterruptedUpdate(const std::string& chartDirectory);

// What a failed run does with its staging files: removes them, unless a
// commit is pending (then they belong to the chart that is being put in place).
void DiscardStagingFiles(const std::string& directory);

}  // namespace update
