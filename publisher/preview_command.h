#pragma once
// `vantrel-chart preview DIR -o FILE.png [--cell COL,ROW]`: the main window
// with the chart, drawn off-screen by the viewer's own widgets, optionally
// with a cell selected as a click selects it.
#include <iosfwd>
#include <optional>
#include <string>

#include "publisher/arguments.h"

namespace publisher {

int RunPreview(const std::string& folder, const std::string& output, std::optional<Cell> cell, std::ostream& err);

}  // namespace publisher
