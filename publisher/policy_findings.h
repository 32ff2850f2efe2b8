#pragma once
// What the policy file's records leave wrong: a test whose count a reader's
// selection cannot convert (its record unended, an empty record, no record at
// all), and tests past the six columns.
#include "publisher/checked_chart.h"

namespace publisher {

void FindPolicyFaults(CheckedChart& chart);

}  // namespace publisher
