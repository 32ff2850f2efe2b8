#pragma once
// `vantrel-chart check [--json] [--public-key KEY] DIR`: prints the chart's
// findings and answers the exit status: 0 without an error, 1 with one.
#include <iosfwd>
#include <string>

namespace publisher {

// publicKey: as given on the command line (a key line or a .pub file), or
// empty not to check signatures; a key that is none is a UsageError.
int RunCheck(const std::string& folder, bool json, const std::string& publicKey, std::ostream& out);

}  // namespace publisher
