#pragma once
// `vantrel-chart check`: reads a publisher's three files exactly as the viewer
// does (the chart core's own readers, over the files' bytes) and tells what
// readers would see broken (errors) or odd (warnings), each at the line it
// comes from. Reads nothing but the three files and their signatures; writes
// nothing.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "publisher/finding.h"
#include "publisher/publisher_folder.h"

namespace publisher {

struct CheckRules {
    // Ends the version messages, as in the window.
    std::string publisherHost;
    // Whether the window's grid shows a cell's text cut short.
    std::function<bool(std::string_view cell)> cellIsCut;
    // The publisher's minisign key ("RW..."): the signatures are checked as a
    // build with that key checks them. Empty: not at all.
    std::string publicKey;
    // The reader's clock, seconds since the epoch (a release may not be dated
    // more than a day ahead of it).
    std::uint64_t now = 0;
};

// Findings in the order of the files (data, policy, version), then of lines.
std::vector<Finding> CheckChart(const PublisherFolder& folder, const CheckRules& rules);

bool HasError(const std::vector<Finding>& findings);

}  // namespace publisher
