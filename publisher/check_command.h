#pragma once
// `vantrel-chart check [--json] [--public-key KEY] DIR`: prints the chart's findings and answers
// the exit status: 0 without an error, 1 with one.
#include <iosfwd>
#include <string>
#include <string_view>

namespace publisher {

// publicKey: minisign's key line, or empty not to check signatures.
int RunCheck(const std::string& folder, bool json, const std::string& publicKey, std::ostream& out);

}  // namespace publisher
