#pragma once
// `vantrel-chart check [--json] DIR`: prints the chart's findings and answers
// the exit status: 0 without an error, 1 with one.
#include <iosfwd>
#include <string>

namespace publisher {

int RunCheck(const std::string& folder, bool json, std::ostream& out);

}  // namespace publisher
