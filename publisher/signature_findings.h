#pragma once
// What a signed build of the viewer makes of the chart's signatures: the
// update's own check of each and of the three as one release, each refusal in
// the words readers would see, and the release's date (release_date.h).
#include <cstdint>
#include <optional>
#include <string>

#include "publisher/checked_chart.h"
#include "publisher/publisher_folder.h"

namespace publisher {

// The chart's files as read are in chart.bytes; now: the clock a release may
// not be dated more than a day ahead of; served: the date of the release
// readers hold now, when known.
void FindSignatureFaults(CheckedChart& chart, const PublisherFolder& folder, const std::string& publicKey,
                         std::uint64_t now, std::optional<std::uint64_t> served);

}  // namespace publisher
