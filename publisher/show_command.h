#pragma once
// `vantrel-chart show DIR [--cell COL,ROW]`: the grid as the window shows it,
// or what selecting one cell does there. What the loading sequence told the
// user goes to the error stream, labelled.
#include <iosfwd>
#include <optional>
#include <string>

#include "publisher/arguments.h"

namespace publisher {

int RunShow(const std::string& folder, std::optional<Cell> cell, std::ostream& out, std::ostream& err);

}  // namespace publisher
