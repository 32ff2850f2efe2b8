#pragma once
// What any of the three files may hold that the viewer reads otherwise than it
// looks: a Ctrl-Z that ends it early, lines that are not UTF-8, a byte-order
// mark, a file saved as UTF-16 or UTF-32 (to the viewer, no chart at all).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "publisher/checked_chart.h"

namespace publisher {

void FindFileFaults(CheckedChart& chart, std::size_t file);

// "UTF-16" or "UTF-32" for a file saved so (by its byte-order mark, or the
// zero bytes its first characters have), nothing otherwise.
std::optional<std::string> WideEncoding(std::string_view bytes);

}  // namespace publisher
