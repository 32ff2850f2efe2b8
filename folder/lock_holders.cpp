// Who holds a lock on a file, read from /proc/locks.
#include "folder/lock_holders.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace folder {
namespace {

// The user a process runs as: the owner of its /proc entry.
std::optional<uid_t> UserOf(pid_t pid) {
    struct stat info;
    if (pid <= 0 || ::stat(("/proc/" + std::to_string(pid)).c_str(), &info) != 0) return std::nullopt;
    return info.st_uid;
}

// "fe:00:247066": the device's major and minor number in hex, then the inode.
bool SameFile(const std::string& field, const struct stat& file) {
    unsigned int major = 0, minor = 0;
    unsigned long long inode = 0;
    if (std::sscanf(field.c_str(), "%x:%x:%llu", &major, &minor, &inode) != 3) return false;
    return major == ::major(file.st_dev) && minor == ::minor(file.st_dev) && inode == file.st_ino;
}

}  // namespace

std::optional<std::vector<LockHolder>> LockHoldersOf(const std::string& path) {
    struct stat file;
    if (::lstat(path.c_str(), &file) != 0) return std::nullopt;
    std::ifstream locks("/proc/locks");
    if (!locks) return std::nullopt;
    std::vector<LockHolder> holders;
    // "1: FLOCK  ADVISORY  WRITE 24209 fe:00:247066 0 EOF"; a line with "->"
    // after the number is a process waiting for the lock, not holding it.
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, type, advisory, access, pid, where;
        fields >> number >> type;
        if (type == "->") continue;
        if (!(fields >> advisory >> access >> pid >> where) || !SameFile(where, file)) continue;
        LockHolder holder;
        holder.pid = static_cast<pid_t>(std::atol(pid.c_str()));
        holder.exclusive = access == "WRITE";
        holder.user = UserOf(holder.pid);
        holders.push_back(holder);
    }
    return holders;
}

Holders ClassifyHolders(const std::string& path, uid_t user, bool busy) {
    Holders seen;
    const auto holders = LockHoldersOf(path);
    if (!holders || (busy && holders->empty())) {
        // A busy lock whose holder is not listed (a lock the kernel does not
        // list, a file system of its own) is told apart by nothing.
        if (busy) seen.kind = HolderKind::Unknown;
        return seen;
    }
    for (const LockHolder& holder : *holders) {
        seen.exclusive = seen.exclusive || holder.exclusive;
        if (!holder.user) {
            if (seen.kind != HolderKind::ThisUser) seen.kind = HolderKind::Unknown;
        } else if (*holder.user == user) {
            seen.kind = HolderKind::ThisUser;
        } else if (seen.kind == HolderKind::None) {
            seen.kind = HolderKind::OtherUser;
        }
    }
    return seen;
}

bool HeldBy(const std::string& path, uid_t user) {
    const auto holders = LockHoldersOf(path);
    if (!holders) return false;
    for (const LockHolder& holder : *holders)
        if (holder.user == user) return true;
    return false;
}

}  // namespace folder
