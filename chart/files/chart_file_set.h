#pragma once
// The three files a chart is made of, by their bare local names, and the
// largest size any of them may have. The readers and the update both go by
// these: a file the update would download is one the readers accept.
#include <cstdint>

namespace chart {

inline constexpr const char* kDataFileName = "data";
inline constexpr const char* kPolicyFileName = "policy";
inline constexpr const char* kVersionFileName = "version";

// A huge file (say 1 GB of one line) is refused at open instead of being read
// into memory, and the update downloads nothing larger.
inline constexpr std::uint64_t kChartFileSizeCap = 16u * 1024u * 1024u;

}  // namespace chart
