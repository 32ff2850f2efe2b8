#pragma once
// What start-up does with the chart folder before the chart is read: under the
// folder's update lock, finishes or clears whatever an earlier update left.
#include <optional>
#include <string>

#include "chart/window_ports.h"
#include "folder/folder_failure.h"

namespace folder {

// Nothing when the chart may be read; otherwise why it must not be read (an
// interrupted update that cannot be finished leaves files of two charts side
// by side), which the window tells (NotReadMessage) instead of reading it.
// With a window, the window answers during every wait and may end it: a
// Cancelled failure. While another copy holds the update lock its files are
// left alone: the reload that follows goes by the folder's protocol.
std::optional<Failure> RecoverChartFolder(const std::string& chartDirectory, chart::WaitPort* window = nullptr);

}  // namespace folder
