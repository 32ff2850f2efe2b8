#pragma once
// Who holds a lock on a file, and as which user, as the kernel lists every lock
// (/proc/locks).
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace folder {

struct LockHolder {
    pid_t pid = 0;
    bool exclusive = false;
    std::optional<uid_t> user;  // which nobody can fake; none: the process is not to be seen from here
};

// Looked up, never taken, so that a look never stands in anyone's way.
// The holders of the locks on the file at path (not following a link); an
// empty list when nobody holds one, nothing when that cannot be told (no
// list of locks, or no file there).
std::optional<std::vector<LockHolder>> LockHoldersOf(const std::string& path);

// Who holds a lock, as far as a protocol step cares.
enum class HolderKind {
    None,       // nobody
    ThisUser,   // a process of this user: this program, or another copy
    OtherUser,  // processes of other users only
    Unknown,    // holders that cannot be told apart (no list of locks)
};
struct Holders {
    HolderKind kind = HolderKind::None;
    bool exclusive = false;  // one of them holds it exclusively
};
// Only the chart owner's holders make a reader wait or an update stop.
// The holders of the lock on path seen from `user`; `busy` says whether a
// try to lock it failed (without a list, a busy lock has Unknown holders).
Holders ClassifyHolders(const std::string& path, uid_t user, bool busy);

// Whether a process of `user` holds a lock on the file at path.
bool HeldBy(const std::string& path, uid_t user);

}  // namespace folder
