#pragma once
// Putting the three staging files in place as one step that survives a kill.
//
// Before the first rename a commit marker is written beside the files and
// synced: from then on the new chart is decided, and whoever finds the marker
// (the next start of the program, or the next update) finishes the renames
// that a killed run did not get to. Without a marker, staging files are only
// the remains of an unfinished download and are removed.
#include <string>

namespace update {

struct CommitError {
    std::string path;
    int error = 0;  // errno
};

// The marker's fixed name beside the chart files.
std::string CommitMarkerPath(const std::string& directory);

// True while a commit has begun and not yet ended (the marker exists).
bool CommitPending(const std::string& directory);

// Writes and syncs the marker, renames the three staging files over the final
// ones in download order, syncs the directory and removes the marker.
// Returns false and fills error when that fails. A failure before the first
// rename leaves the old chart and no marker; a later one leaves the marker and
// the remaining staging files for FinishInterruptedUpdate.
bool CommitStagingFiles(const std::string& directory, CommitError& error);

// Brings the chart directory to a consistent state before it is read or
// updated: with a marker, renames whichever staging files are still there and
// removes the marker; without one, removes leftover staging files. Returns
// false (the marker kept, error filled) when a rename fails.
bool FinishInterruptedUpdate(const std::string& chartDirectory, CommitError& error);
bool FinishInterruptedUpdate(const std::string& chartDirectory);

// What a failed run does with its staging files: removes them, unless a
// commit is pending (then they belong to the chart that is being put in place).
void DiscardStagingFiles(const std::string& directory);

}  // namespace update
