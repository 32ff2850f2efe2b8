#pragma once
// `vantrel-chart check`: reads a publisher's three files exactly as the viewer
// does and tells what readers would see broken (errors) or odd (warnings), each
// at the line it comes from.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "publisher/finding.h"
#include "publisher/publisher_folder.h"

namespace publisher {

struct CheckRules {
    // Ends the version messages, as in the window.
    std::string publisherHost;
    // What the window's grid shows of a cell in column col when it cuts the
    // text (publisher/grid_text_width.h); nothing when it fits.
    std::function<std::optional<std::string>(int col, std::string_view cell)> gridCut;
    // The publisher's minisign key ("RW..."): the signatures are checked as a
    // build with that key checks them. Empty: not at all.
    std::string publicKey;
    // The reader's clock, seconds since the epoch (a release may not be dated
    // more than a day ahead of it).
    std::uint64_t now = 0;
    // The chart readers have now: readers who update are judged as they see
    // the chart after an Update from it. None: readers who update from any chart.
    std::optional<PublisherFolder> served;
};

struct CheckReport {
    // In the order of the files (data, policy, version), then of lines.
    std::vector<Finding> findings;
    int programs = 0;  // the programs the grid shows
    int tests = 0;     // the tests whose count and title are stored
};

// Reads nothing but the three files, their signatures and the served chart's;
// writes nothing.
CheckReport CheckChart(const PublisherFolder& folder, const CheckRules& rules);

bool HasError(const std::vector<Finding>& findings);

}  // namespace publisher
