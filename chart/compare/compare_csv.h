#pragma once
// The compare window's view as a CSV file (RFC 4180, UTF-8 without a byte
// order mark, lines ended by CR LF): a heading row, then one row for each
// program the view keeps, in its order, with its name, its seven results and
// its answer to every sub-criterion, each as the window shows it.
#include <string>
#include <string_view>

#include "chart/compare/compare_model.h"

namespace chart {

// One field: in double quotes (a quote doubled) when it holds a quote, a
// comma or a line break. A text a spreadsheet would run as a formula (one
// starting with "=", "+", "-", "@", a TAB or a CR) is written with "'" before
// it, which spreadsheets show as text; a plain number ("-3") and "-" alone
// (no result) are values, never run, and are written as they are.
std::string CsvField(std::string_view text);

std::string CompareCsv(const CompareModel& model);

}  // namespace chart
