#pragma once
// What a signed build of the viewer makes of the chart's signatures
// (data.dat.minisig beside data.dat, ...): the update's own check of each
// signature and of the three as one release, each refusal told with the
// message readers would see.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "publisher/finding.h"
#include "publisher/publisher_folder.h"

namespace publisher {

// bytes: the chart files as read (nothing for one that could not be);
// now: the clock a release may not be dated more than a day ahead of.
std::vector<Finding> FindSignatureFaults(const PublisherFolder& folder,
                                         const std::array<std::optional<std::string>, PublisherFolder::kFiles>& bytes,
                                         const std::string& publicKey, std::uint64_t now);

}  // namespace publisher
