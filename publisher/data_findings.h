#pragma once
// What the data file's records and the rows they made show wrong or odd:
// records that make no program, programs the grid drops, results and flags
// that do not fit their columns and tests, page addresses, names.
#include "publisher/checked_chart.h"

namespace publisher {

void FindDataFaults(CheckedChart& chart);

}  // namespace publisher
