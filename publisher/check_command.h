#pragma once
// `vantrel-chart check [--json] [--verbose] [--public-key KEY] [--served SERVED] DIR`:
// prints the chart's findings; exits 0 without an error, 1 with one.
#include <iosfwd>
#include <string>

#include "publisher/chart_check.h"

namespace publisher {

struct CheckOptions {
    bool json = false;
    bool verbose = false;
    // As given on the command line (a key line or a .pub file), or empty not
    // to check signatures; a key that is none is a UsageError.
    std::string publicKey;
    // The folder of the chart readers have now, or empty.
    std::string served;
};

// The findings on the chart in FOLDER as this build of the viewer would meet
// it now; publicKey: the key's line (empty not to check signatures); served:
// the folder of the chart readers have now, or empty.
CheckReport CheckForThisViewer(const std::string& folder, const std::string& publicKey, const std::string& served);

int RunCheck(const std::string& folder, const CheckOptions& options, std::ostream& out, std::ostream& err);

// "3 programs, 6 tests: 1 error, 2 warnings": on standard error, never among
// the findings; always with --verbose, otherwise when there is nothing to find.
std::string SummaryOf(const CheckReport& report);

}  // namespace publisher
