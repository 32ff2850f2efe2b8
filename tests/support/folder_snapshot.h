#pragma once
// The chart in a folder as a reload reads it (the folder module's reader,
// without a window), for tests that load a chart from files they wrote.
#include <stdexcept>
#include <string>

#include "folder/chart_reader.h"

namespace support {

inline chart::ChartSnapshot FolderSnapshot(const std::string& directory) {
    auto read = folder::ReadChartFolder(directory);
    if (!read.snapshot) throw std::runtime_error("the chart folder was not read: " + read.message);
    return std::move(*read.snapshot);
}

}  // namespace support
