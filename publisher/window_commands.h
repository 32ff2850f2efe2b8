#pragma once
// `vantrel-chart show` and `preview`: the chart in the viewer's own window,
// drawn off-screen, as readers who start on it see it, or with --served as
// readers who update to it; what the loading sequence said goes to stderr.
#include <iosfwd>
#include <optional>
#include <string>

#include "publisher/arguments.h"

namespace publisher {

// Marks a cell of show's grid that readers who update see kept from the
// chart before (where readers who start afresh see otherwise).
inline constexpr const char* kKeptMark = " (kept)";

// show DIR [--served SERVED] [--cell COL,ROW]:
// the grid as the window shows it, cells separated by a TAB; with a cell,
// what selecting it does. served: the chart being served, or empty.
int RunShow(const std::string& folder, const std::string& served, std::optional<Cell> cell, std::ostream& out,
            std::ostream& err);

// preview DIR -o FILE.png|- [--served SERVED] [--cell COL,ROW]:
// the window as a PNG file, or on out for "-". Never into the chart's
// folder, the served chart's, or over one of their files (a UsageError).
int RunPreview(const std::string& folder, const std::string& served, const std::string& output,
               std::optional<Cell> cell, std::ostream& out, std::ostream& err);

}  // namespace publisher
