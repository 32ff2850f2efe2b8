#pragma once
// `vantrel-chart show DIR [--served SERVED] [--cell COL,ROW]` and
// `vantrel-chart preview DIR -o FILE.png|- [--served SERVED] [--cell
// COL,ROW]`: the chart in the viewer's own window, drawn off-screen
// (ui/offscreen_view.h): started on it, or, with the chart being served,
// started on that and updated to it, as readers who update see it. What the
// loading sequence said goes to standard error.
#include <iosfwd>
#include <optional>
#include <string>

#include "publisher/arguments.h"

namespace publisher {

// Marks a cell of show's grid that readers who update see kept from the
// chart before (where readers who start afresh see otherwise).
inline constexpr const char* kKeptMark = " (kept)";

// The grid as the window shows it, cells separated by a TAB; with a cell,
// what selecting it does. served: the chart being served, or empty.
int RunShow(const std::string& folder, const std::string& served, std::optional<Cell> cell, std::ostream& out,
            std::ostream& err);

// The window as a PNG file, or on out for "-". Never into the chart's
// folder, the served chart's, or over one of their files (a UsageError).
int RunPreview(const std::string& folder, const std::string& served, const std::string& output,
               std::optional<Cell> cell, std::ostream& out, std::ostream& err);

}  // namespace publisher
