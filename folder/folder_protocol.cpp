// The chart folder's protocol as tables: what a reader, a commit and an update do on meeting each state.
#include "folder/folder_protocol.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "folder/commit_marker.h"
#include "folder/marker_lock.h"

namespace folder {
namespace {

using M = MarkerState;
using L = FolderLock;
using W = ReaderWait;
using S = ReaderStep;

struct ReaderRule {
    MarkerState marker;
    FolderLock lock;
    ReaderWait waited;
    ReaderStep step;
};

// What a reload does, the first row that matches. No step holds a lock while
// it waits: the shared lock only while the three files' bytes are read.
constexpr std::array kReaderRules{
    //          marker            folder's lock        waited   step
    ReaderRule{M::None,         L::Shared,          W::Any,   S::ReadUnderLock},
    ReaderRule{M::None,         L::HeldExclusively, W::Short, S::TryAgain},
    ReaderRule{M::None,         L::HeldExclusively, W::Any,   S::ReadAsItStands},
    ReaderRule{M::Foreign,      L::Shared,          W::Any,   S::ReadUnderLock},
    ReaderRule{M::Foreign,      L::HeldExclusively, W::Short, S::TryAgain},
    ReaderRule{M::Foreign,      L::HeldExclusively, W::Any,   S::ReadAsItStands},
    ReaderRule{M::OwnAtWork,    L::Any,             W::Short, S::WaitForWriter},
    ReaderRule{M::OwnAtWork,    L::Any,             W::Long,  S::WaitSayingWhy},
    ReaderRule{M::OwnAtWork,    L::Any,             W::Over,  S::GiveUp},
    ReaderRule{M::OwnCutOff,    L::Any,             W::Any,   S::FinishFirst},
    ReaderRule{M::OwnOlder,     L::Any,             W::Any,   S::FinishFirst},
    ReaderRule{M::OwnDamaged,   L::Any,             W::Any,   S::Stop},
    ReaderRule{M::OwnersAtWork, L::Any,             W::Short, S::WaitForWriter},
    ReaderRule{M::OwnersAtWork, L::Any,             W::Long,  S::WaitSayingWhy},
    ReaderRule{M::OwnersAtWork, L::Any,             W::Over,  S::GiveUp},
    ReaderRule{M::OwnersCutOff, L::Any,             W::Any,   S::ReadWholeRelease},
};

using H = HolderKind;
using R = RenameWait;
using RS = RenameStep;
enum class Mode { Any, Shared, Exclusive };
constexpr std::optional<HolderKind> kAnyone = std::nullopt;

struct RenameRule {
    std::optional<HolderKind> holders;
    Mode mode;
    RenameWait waited;
    RenameStep step;
};

// What a commit or a recovery does while it tries the folder's lock
// exclusively, the first row that matches. A dead copy holds nothing. This
// user's commits and recoveries keep each other out by the update lock and
// the marker's own, so an exclusive holder that stays is none of them; this
// user's readers share it for milliseconds.
constexpr std::array kRenameRules{
    //          holders          mode             waited    step
    RenameRule{H::None,         Mode::Any,       R::Any,   RS::Take},
    RenameRule{kAnyone,         Mode::Exclusive, R::Short, RS::KeepTrying},
    RenameRule{kAnyone,         Mode::Exclusive, R::Any,   RS::GoOnWithout},
    RenameRule{H::OtherUser,    Mode::Shared,    R::Short, RS::KeepTrying},
    RenameRule{H::OtherUser,    Mode::Shared,    R::Any,   RS::GoOnWithout},
    RenameRule{kAnyone,         Mode::Shared,    R::Over,  RS::Refuse},
    RenameRule{kAnyone,         Mode::Shared,    R::Any,   RS::KeepTrying},
};

struct UpdateLockRule {
    HolderKind sharedLockHolders;
    UpdateLockStep step;
};

// An update's lock, once the user's own lock file is held: the shared one
// counts while this user (a copy of the version before, which takes only
// it) or a holder that cannot be told holds it; others' holds stop nothing.
constexpr std::array kUpdateLockRules{
    UpdateLockRule{H::None, UpdateLockStep::GoOn},
    UpdateLockRule{H::ThisUser, UpdateLockStep::Refuse},
    UpdateLockRule{H::Unknown, UpdateLockStep::Refuse},
    UpdateLockRule{H::OtherUser, UpdateLockStep::GoOnWithTheOwnLock},
};

// The user who owns the chart: who owns every chart file there is, or,
// without any, every staging file there is. A marker of anyone else is
// nothing of a commit.
bool OwnsTheChart(const WorkFiles& folder, uid_t user) {
    for (bool staging : {false, true}) {
        bool any = false;
        for (const ChartFile& file : kChartFiles) {
            struct stat info;
            if (::lstat((staging ? folder.Staging(file) : folder.Target(file)).c_str(), &info) != 0) continue;
            if (info.st_uid != user) return false;
            any = true;
        }
        if (any) return true;
    }
    return false;
}

// Whether the marker's writer, or whoever finishes it, is at work.
bool AtWork(const WorkFiles& folder, const std::string& marker, uid_t owner) {
    if (MarkerInUse(marker, owner == ::geteuid())) return true;
    // The version before locked no marker: its user's update lock tells.
    if (HeldBy(folder.LockFile(), owner)) return true;
    const auto own = LockHoldersOf(folder.OwnLockFile(owner));
    return own && !own->empty();
}

// This user's marker with nobody at work: of which version, or damaged.
void ReadOwnMarker(const WorkFiles& folder, FolderLook& look) {
    constexpr std::size_t kMarkerCap = 4096;  // six short names at most
    const auto bytes = folder.ReadOwnFile(look.markerPath, kMarkerCap);
    std::optional<CommitMarker> marker;
    if (bytes && *bytes) marker = CommitMarker::Parse(**bytes);
    if (marker) {
        look.marker = marker->Older() ? M::OwnOlder : M::OwnCutOff;
        return;
    }
    look.marker = M::OwnDamaged;
    look.damage = MakeFailure(Failure::Kind::MarkerDamaged, look.markerPath,
                              bytes ? (*bytes ? 0 : ENOENT) : bytes.Why().error);
}

}  // namespace

ReaderStep ReaderStepFor(MarkerState marker, FolderLock lock, ReaderWait waited) {
    for (const ReaderRule& rule : kReaderRules) {
        if (rule.marker == marker && (rule.lock == L::Any || rule.lock == lock) &&
            (rule.waited == W::Any || rule.waited == waited)) {
            return rule.step;
        }
    }
    return S::ReadUnderLock;  // every state has its rows above
}

RenameStep RenameStepFor(const Holders& holders, RenameWait waited) {
    const Mode mode = holders.exclusive ? Mode::Exclusive : Mode::Shared;
    for (const RenameRule& rule : kRenameRules) {
        if ((!rule.holders || *rule.holders == holders.kind) && (rule.mode == Mode::Any || rule.mode == mode) &&
            (rule.waited == R::Any || rule.waited == waited)) {
            return rule.step;
        }
    }
    return RS::Refuse;
}

UpdateLockStep UpdateLockStepFor(HolderKind sharedLockHolders) {
    for (const UpdateLockRule& rule : kUpdateLockRules)
        if (rule.sharedLockHolders == sharedLockHolders) return rule.step;
    return UpdateLockStep::Refuse;
}

FolderLook LookAt(const WorkFiles& folder) {
    FolderLook look;
    const uid_t user = ::geteuid();
    // A roll-back marker first: its commit is already going back.
    for (const std::string* path : {&folder.RollbackMarker(), &folder.CommitMarker()}) {
        struct stat info;
        if (::lstat(path->c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        look.markerPath = *path;
        look.rollBack = path == &folder.RollbackMarker();
        look.owner = info.st_uid;
        look.markerFile = chart::FileIdentity{info.st_dev, info.st_ino};
        const bool own = info.st_uid == user;
        if (!own && !OwnsTheChart(folder, info.st_uid)) {
            look.marker = M::Foreign;
            continue;  // the other name may still hold this user's
        }
        if (AtWork(folder, *path, info.st_uid)) {
            look.marker = own ? M::OwnAtWork : M::OwnersAtWork;
        } else if (own) {
            ReadOwnMarker(folder, look);
        } else {
            look.marker = M::OwnersCutOff;
        }
        return look;
    }
    return look;
}

}  // namespace folder
