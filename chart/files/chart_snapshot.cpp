#include "chart/files/chart_snapshot.h"

#include <optional>

#include "chart/files/chart_file_set.h"
#include "chart/files/chart_folder_lock.h"
#include "chart/files/file_bytes.h"
#include "chart/files/file_error.h"
#include "chart/files/local_path.h"

namespace chart {

ChartSnapshot::ChartSnapshot(const std::string& directory, std::chrono::milliseconds lockWait,
                             const std::function<void()>& onLongWait)
    : files_{File{kVersionFileName, {}, {}}, File{kDataFileName, {}, {}}, File{kPolicyFileName, {}, {}}} {
    // Never read during another copy's renames: that would be a mix of two
    // charts. Without locks at all (some network file systems) the reload
    // reads as it would have without them.
    std::optional<ChartFolderLock> lock(std::in_place, directory, ChartFolderLock::Mode::Shared, lockWait);
    if (lock->Busy()) {
        if (onLongWait) onLongWait();
        lock.emplace(directory, ChartFolderLock::Mode::Shared, ChartFolderLock::kNoLimit);
    }
    for (File& file : files_) {
        try {
            file.bytes = ReadFileBytes(LocalPath(directory, file.name), kChartFileSizeCap);
        } catch (...) {
            file.failure = std::current_exception();
        }
    }
}

const ChartSnapshot::File* ChartSnapshot::Find(std::string_view name) const {
    for (const File& file : files_)
        if (name == file.name) return &file;
    return nullptr;
}

bool ChartSnapshot::Holds(std::string_view name) const { return Find(name) != nullptr; }

std::string_view ChartSnapshot::Bytes(std::string_view name) const {
    const File* file = Find(name);
    if (!file) throw FileError("File not found");
    if (file->failure) std::rethrow_exception(file->failure);
    return file->bytes;
}

}  // namespace chart
