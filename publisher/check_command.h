#pragma once
// `vantrel-chart check [--json] [--public-key KEY] DIR`: prints the chart's
// findings and answers the exit status: 0 without an error, 1 with one.
#include <iosfwd>
#include <string>
#include <vector>

#include "publisher/finding.h"

namespace publisher {

// The findings on the chart in FOLDER as this build of the viewer would meet
// it now; publicKey: the key's text (empty not to check signatures).
std::vector<Finding> CheckForThisViewer(const std::string& folder, const std::string& publicKey);

// publicKey: as given on the command line (a key line or a .pub file), or
// empty not to check signatures; a key that is none is a UsageError.
int RunCheck(const std::string& folder, bool json, const std::string& publicKey, std::ostream& out);

}  // namespace publisher
