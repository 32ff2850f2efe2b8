#pragma once
// What start-up does with the chart folder before the chart is read: under the
// folder's update lock, finishes or clears whatever an earlier update left.
// While another copy of the program holds the lock, its staging files are
// left alone; if that copy is putting its files in place, start-up waits for
// it to end (a few renames) so that it never reads half of each chart.
#include <chrono>
#include <optional>
#include <string>

#include "update/failure.h"

namespace update {

// Nothing when the chart may be read; otherwise why it must not be read (an
// interrupted update that cannot be finished leaves files of two charts side
// by side), which the window tells instead of reading it.
std::optional<Failure> RecoverChartFolder(
    const std::string& chartDirectory,
    std::chrono::milliseconds commitWait = std::chrono::seconds(10));

}  // namespace update
