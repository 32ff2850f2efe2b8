// The three files of a chart as one load reads them.
#include "chart/files/chart_snapshot.h"

#include "chart/files/file_error.h"

namespace chart {

ChartSnapshot::ChartSnapshot(const std::array<std::optional<std::string>, 3>& given) {
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (given[i]) {
            files_[i].bytes = *given[i];
        } else {
            files_[i].failure = std::make_exception_ptr(NotFound());
        }
    }
}

const ChartSnapshot::File* ChartSnapshot::Find(std::string_view name) const {
    for (std::size_t i = 0; i < files_.size(); ++i)
        if (name == kChartFileTable[i].name) return &files_[i];
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
