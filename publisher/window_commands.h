#pragma once
// `vantrel-chart show DIR [--cell COL,ROW]` and `vantrel-chart preview DIR -o
// FILE.png|- [--cell COL,ROW]`: the chart in the viewer's own window, drawn
// off-screen (ui/offscreen_view.h). What the loading sequence said goes to
// standard error.
#include <iosfwd>
#include <optional>
#include <string>

#include "publisher/arguments.h"

namespace publisher {

// The grid as the window shows it, cells separated by a TAB; with a cell,
// what selecting it does.
int RunShow(const std::string& folder, std::optional<Cell> cell, std::ostream& out, std::ostream& err);

// The window as a PNG file, or on out for "-". Never into the chart's folder
// or over one of its files (a UsageError).
int RunPreview(const std::string& folder, const std::string& output, std::optional<Cell> cell, std::ostream& out,
               std::ostream& err);

}  // namespace publisher
