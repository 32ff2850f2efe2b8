// A reload's read of the chart folder: one whole chart, never two mixed, every wait bounded.
#include "folder/chart_reader.h"

#include <sys/stat.h>

#include <array>
#include <thread>

#include "chart/files/chart_file_set.h"
#include "chart/files/file_bytes.h"
#include "chart/files/local_path.h"
#include "folder/chart_commit.h"
#include "folder/chart_folder_lock.h"
#include "folder/folder_protocol.h"

namespace folder {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPollStep{10};
// A name that keeps leading to new files (something rewriting them all the
// time) is read again this many times, then taken as it was read.
constexpr int kRereads = 3;

// One file as read from a path ("" names none: a file that did not exist).
struct FileRead {
    std::string path;
    chart::ChartSnapshot::File file;
    std::optional<chart::FileIdentity> identity;  // none: nothing at the name
};
using Paths = std::array<std::string, 3>;  // in the order of kChartFileTable
using Reads = std::array<FileRead, 3>;

Reads ReadPaths(const Paths& paths) {
    Reads reads;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        FileRead& read = reads[i];
        read.path = paths[i];
        try {
            chart::FileIdentity identity;
            read.file.bytes = chart::ReadFileBytes(read.path, chart::kChartFileSizeCap, &identity);
            read.identity = identity;
        } catch (...) {
            // Kept whole, to be raised where the loader reads this file, as
            // reading the file there would have.
            read.file.failure = std::current_exception();
            read.identity = chart::IdentityOf(read.path);  // nothing, a folder, a FIFO: looked at again
        }
    }
    return reads;
}

// Whether each name still leads to the file read.
bool Unchanged(const Reads& reads) {
    for (const FileRead& read : reads)
        if (chart::IdentityOf(read.path) != read.identity) return false;
    return true;
}

// The data file's kept signature, read while the chart files are (its date
// is the release's only when both are of one release).
std::string KeptDataSignature(const WorkFiles& folder) {
    // A signature far larger than minisign writes is none.
    constexpr std::uint64_t kSignatureCap = 16 * 1024;
    try {
        return chart::ReadFileBytes(folder.Target(kSignatureFiles[chart::kData]), kSignatureCap);
    } catch (const std::exception&) {
        return {};  // none kept (an unsigned chart) or unreadable: no release date to tell
    }
}

ChartRead Taken(Reads& reads, std::string dataSignature = {}) {
    ChartRead read;
    read.outcome = ChartRead::Outcome::Read;
    read.snapshot.emplace(std::array<chart::ChartSnapshot::File, 3>{
        std::move(reads[0].file), std::move(reads[1].file), std::move(reads[2].file)});
    read.snapshot->SetDataSignature(std::move(dataSignature));
    return read;
}

ChartRead NotTaken(ChartRead::Outcome outcome, std::string message = {}) {
    ChartRead read;
    read.outcome = outcome;
    read.message = std::move(message);
    return read;
}

Paths ChartPaths(const WorkFiles& folder) {
    Paths paths;
    for (std::size_t i = 0; i < paths.size(); ++i) paths[i] = folder.Target(kChartFiles[i]);
    return paths;
}

bool OwnedBy(const std::string& path, uid_t user, bool linkToo) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && info.st_uid == user &&
           (S_ISREG(info.st_mode) || (linkToo && S_ISLNK(info.st_mode)));
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The release another user's cut-off commit leaves whole, read by this user,
// who may not finish it: the new one when every new file is there (as the
// owner's next start will finish it), else the one before. Only the owner's
// staging files and backups count.
Paths WholeReleasePaths(const WorkFiles& folder, const FolderLook& look) {
    bool forward = !look.rollBack;
    for (const ChartFile& file : kChartFiles) {
        const std::string target = folder.Target(file);
        const bool staged = OwnedBy(folder.Staging(file), look.owner, false);
        const bool backedUp = OwnedBy(folder.Backup(file), look.owner, true);
        // A new file lost: nothing at the name, or still the old file.
        if (!staged && (!chart::IdentityOf(target) || (backedUp && SameFile(target, folder.Backup(file))))) {
            forward = false;
        }
    }
    Paths paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const ChartFile& file = kChartFiles[i];
        const bool staged = OwnedBy(folder.Staging(file), look.owner, false);
        if (forward) {
            paths[i] = staged ? folder.Staging(file) : folder.Target(file);
        } else if (OwnedBy(folder.Backup(file), look.owner, true)) {
            paths[i] = folder.Backup(file);
        } else {
            // Not moved yet, or a file the commit made new (none before).
            paths[i] = staged ? folder.Target(file) : std::string();
        }
    }
    return paths;
}

bool Quiet(MarkerState marker) { return marker == MarkerState::None || marker == MarkerState::Foreign; }

}  // namespace

ChartRead ReadChartFolder(const std::string& directory, const ReaderWaits& waits) {
    const WorkFiles folder(directory);
    const auto start = Clock::now();
    bool told = false;
    int rereads = 0;
    // A cut-off commit this reload finished whose marker stayed (its last
    // flush failed): its files are in place, and the next start clears it.
    std::optional<chart::FileIdentity> finished;
    for (;;) {
        FolderLook look = LookAt(folder);
        if (finished && look.markerFile == finished &&
            (look.marker == MarkerState::OwnCutOff || look.marker == MarkerState::OwnOlder)) {
            look.marker = MarkerState::None;
        }
        const auto waited = Clock::now() - start;
        const ReaderWait wait = waited < waits.lockWait     ? ReaderWait::Short
                                : waited < waits.commitWait ? ReaderWait::Long
                                                            : ReaderWait::Over;
        std::optional<ChartFolderLock> lock;
        FolderLock lockState = FolderLock::Any;
        if (Quiet(look.marker)) {
            lock.emplace(directory, ChartFolderLock::Mode::Shared, std::chrono::milliseconds(0));
            lockState = lock->Busy() ? FolderLock::HeldExclusively : FolderLock::Shared;
        }
        switch (ReaderStepFor(look.marker, lockState, wait)) {
        case ReaderStep::ReadUnderLock:
        case ReaderStep::ReadAsItStands: {
            Reads reads = ReadPaths(ChartPaths(folder));
            std::string dataSignature = KeptDataSignature(folder);
            lock.reset();
            // Taken when nothing of a commit began meanwhile (it marks the
            // folder before its first rename) and each name still leads to
            // the file read.
            if (Quiet(LookAt(folder).marker) && (Unchanged(reads) || ++rereads > kRereads)) {
                return Taken(reads, std::move(dataSignature));
            }
            break;
        }
        case ReaderStep::TryAgain:
        case ReaderStep::WaitForWriter:
            break;
        case ReaderStep::WaitSayingWhy:
            if (!told && waits.onCommitWait) waits.onCommitWait();
            told = true;
            break;
        case ReaderStep::GiveUp:
            return NotTaken(ChartRead::Outcome::CommitNotFinished, kCommitNotFinishedMessage);
        case ReaderStep::FinishFirst: {
            const auto failure = FinishCutOffCommit(folder, waits.window);
            if (!failure) {
                finished = look.markerFile;
                continue;
            }
            if (failure->kind == Failure::Kind::Cancelled) return NotTaken(ChartRead::Outcome::Abandoned);
            // Another copy is finishing it: waited for as any copy at work.
            if (failure->kind != Failure::Kind::AnotherCopyUpdating) {
                return NotTaken(ChartRead::Outcome::NotRead, NotReadMessage(*failure));
            }
            if (Clock::now() - start >= waits.commitWait) {
                return NotTaken(ChartRead::Outcome::CommitNotFinished, kCommitNotFinishedMessage);
            }
            break;
        }
        case ReaderStep::ReadWholeRelease: {
            Reads reads = ReadPaths(WholeReleasePaths(folder, look));
            const FolderLook after = LookAt(folder);
            if (after.marker == look.marker && after.markerFile == look.markerFile && Unchanged(reads)) {
                return Taken(reads);
            }
            break;
        }
        case ReaderStep::Stop:
            return NotTaken(ChartRead::Outcome::NotRead, NotReadMessage(*look.damage));
        }
        lock.reset();  // nothing is held while waiting
        if (waits.window && !waits.window->KeepWaiting()) return NotTaken(ChartRead::Outcome::Abandoned);
        std::this_thread::sleep_for(kPollStep);
    }
}

}  // namespace folder
