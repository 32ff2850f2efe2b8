#pragma once
// The compare window's view as a CSV file: a heading row, then a row for each
// program the view keeps, in its order, each field as the window shows it.
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

// RFC 4180, in UTF-8 without a byte order mark, lines ended by CR LF.
std::string CompareCsv(const CompareModel& model);

}  // namespace chart
