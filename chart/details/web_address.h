#pragma once
// Only web pages are handed to the desktop: an address from a downloaded chart
// must never make it open a local file or run anything.
#include <string_view>

namespace chart {

// True when the address begins with "http://" or "https://", in any letter case.
bool IsWebAddress(std::string_view address);

}  // namespace chart
