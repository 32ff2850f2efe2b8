#pragma once
// The chart folder's protocol, both ends: the states a reader can meet there and
// what a reload, a commit, a recovery and an update do on meeting each, as the
// tables (folder_protocol.cpp) that the reader, the commit and the update lock look up.
#include <sys/types.h>

#include <optional>
#include <string>

#include "chart/files/file_bytes.h"
#include "folder/folder_failure.h"
#include "folder/lock_holders.h"
#include "folder/work_files.h"

namespace folder {

// The commit or roll-back marker, as a reader finds it. "At work": someone
// holds the marker's own lock (its writer, or whoever finishes it), or its
// user holds the update lock (the version before locked no marker).
enum class MarkerState {
    None,          // no marker: no commit begun, or it ended
    Foreign,       // at a marker's name, a file of a user who does not own the chart: nothing of a commit
    OwnAtWork,     // this user's, at work: another copy, or this program's update
    OwnCutOff,     // this user's, nobody at work: its commit was cut off
    OwnOlder,      // the same, written by the version before (no "end" line)
    OwnDamaged,    // this user's, of neither format, or unreadable
    OwnersAtWork,  // the chart owner's (another user's), at work
    OwnersCutOff,  // the chart owner's, nobody at work: not this user's to finish
};

// What a reader's try to share the folder's lock found.
enum class FolderLock {
    Any,
    Shared,           // taken (or a file system without locks)
    HeldExclusively,  // someone holds it exclusively: a commit's renames, or anyone who can open the folder
};

// How long a reload has waited: under the lock wait (2 s), past it, past the
// commit wait (a minute).
enum class ReaderWait { Any, Short, Long, Over };

enum class ReaderStep {
    ReadUnderLock,     // the three files' bytes under the shared lock, then each name looked at again
    TryAgain,          // a commit's renames take milliseconds: look again shortly
    ReadAsItStands,    // the holder is none of the chart's: read without the lock
    WaitForWriter,     // a copy is putting its chart in place: wait, holding nothing
    WaitSayingWhy,     // the same, the user told once why
    GiveUp,            // the copy went on past the commit wait: nothing is read, the user told why
    FinishFirst,       // finish this user's cut-off commit (forward or back), then look again
    ReadWholeRelease,  // read the release another user's cut-off commit leaves whole: the new, else the old
    Stop,              // nothing is read: the user is told which files to keep or remove
};

ReaderStep ReaderStepFor(MarkerState marker, FolderLock lock, ReaderWait waited);

// How long a commit or a recovery has tried the folder's lock exclusively:
// under the lock wait (2 s), past it, past the copy wait (10 s).
enum class RenameWait { Any, Short, Long, Over };
enum class RenameStep {
    Take,         // nobody holds it: the renames go on under it
    KeepTrying,
    GoOnWithout,  // the holder is none of this user's copies: the renames go on without the lock
    Refuse,       // another copy of this user's keeps reading: "another copy ... is updating"
};
RenameStep RenameStepFor(const Holders& holders, RenameWait waited);

// An update's lock: the user's own lock file is taken first (busy: another
// copy of this user's has it, and the update is refused); then the lock file
// every copy shares, by who holds it.
enum class UpdateLockStep { GoOn, GoOnWithTheOwnLock, Refuse };
UpdateLockStep UpdateLockStepFor(HolderKind sharedLockHolders);

// The folder as a reader finds it.
struct FolderLook {
    MarkerState marker = MarkerState::None;
    std::string markerPath;     // the marker found
    bool rollBack = false;      // it is the roll-back marker: its commit goes back
    uid_t owner = 0;            // the marker's user
    std::optional<chart::FileIdentity> markerFile;  // which file the marker was
    std::optional<Failure> damage;                  // OwnDamaged: why
};
FolderLook LookAt(const WorkFiles& folder);

}  // namespace folder
