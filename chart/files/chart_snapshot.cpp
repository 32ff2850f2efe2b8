#include "chart/files/chart_snapshot.h"

#include <thread>

#include "chart/files/chart_file_set.h"
#include "chart/files/chart_folder_lock.h"
#include "chart/files/file_error.h"
#include "chart/files/local_path.h"

namespace chart {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kPollStep{10};
// A name that keeps leading to new files (something rewriting them all the
// time) is read again this many times, then taken as it was read.
constexpr int kRereads = 3;

}  // namespace

ChartSnapshot::ChartSnapshot(const std::string& directory, const FolderWaits& waits) {
    using Activity = CommitWatch::Activity;
    const auto start = Clock::now();
    bool told = false;
    int rereads = 0;
    for (;;) {
        const ChartFolderLock lock(directory, ChartFolderLock::Mode::Shared, std::chrono::milliseconds(0));
        // Without locks at all (some network file systems) the reload reads
        // as it would have without them.
        bool read = lock.Held() || !lock.Busy();
        bool committing = false;
        if (!read && Clock::now() - start >= waits.lockWait) {
            Activity activity = waits.commits ? waits.commits->Now() : Activity::None;
            if (activity == Activity::Interrupted && waits.window) {
                if (auto why = waits.commits->FinishInterrupted(*waits.window)) {
                    outcome_ = Outcome::RecoveryFailed;
                    why_ = std::move(*why);
                    return;
                }
                activity = waits.commits->Now();
            }
            committing = activity == Activity::Committing;
            // Otherwise the holder is none of ours: nothing is being put in place.
            read = !committing;
        }
        if (read) {
            ReadFiles(directory);
            const Check check = CheckRead(directory, waits.commits);
            if (check == Check::OneChart || (check == Check::Moved && ++rereads > kRereads)) return;
            committing = check == Check::Committing;
        }
        if (committing) {
            if (!told && waits.onCommitWait) waits.onCommitWait();
            told = true;
            if (Clock::now() - start >= waits.commitWait) {
                outcome_ = Outcome::CommitNotFinished;
                return;
            }
        }
        if (waits.window && !waits.window->KeepWaiting()) {
            outcome_ = Outcome::Abandoned;
            return;
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

ChartSnapshot::ChartSnapshot(const std::array<std::optional<std::string>, 3>& given) {
    for (std::size_t i = 0; i < given.size(); ++i) {
        File& file = files_[i];
        if (given[i]) {
            file.bytes = *given[i];
        } else {
            file.failure = std::make_exception_ptr(NotFound());
        }
    }
}

void ChartSnapshot::ReadFiles(const std::string& directory) {
    for (File& file : files_) {
        file.bytes.clear();
        file.failure = nullptr;
        file.identity.reset();
        try {
            FileIdentity identity;
            file.bytes = ReadFileBytes(LocalPath(directory, file.name), kChartFileSizeCap, &identity);
            file.identity = identity;
        } catch (...) {
            file.failure = std::current_exception();
            // Whatever stands at the name (nothing, a folder, a FIFO), to
            // look at again.
            file.identity = IdentityOf(LocalPath(directory, file.name));
        }
    }
}

ChartSnapshot::Check ChartSnapshot::CheckRead(const std::string& directory, CommitWatch* commits) const {
    // A commit marks the folder before its first rename and clears it after
    // its last, so this comes before the names are looked at again.
    if (commits && commits->Now() == CommitWatch::Activity::Committing) return Check::Committing;
    for (const File& file : files_) {
        if (IdentityOf(LocalPath(directory, file.name)) != file.identity) return Check::Moved;
    }
    return Check::OneChart;
}

const ChartSnapshot::File* ChartSnapshot::Find(std::string_view name) const {
    for (const File& file : files_)
        if (name == file.name) return &file;
    return nullptr;
}

bool ChartSnapshot::Holds(std::string_view name) const { return Find(name) != nullptr; }

std::string_view ChartSnapshot::Bytes(std::string_view name) const {
    const File* file = Find(name);
    if (!file) throw NotFound();
    if (file->failure) std::rethrow_exception(file->failure);
    return file->bytes;
}

}  // namespace chart
