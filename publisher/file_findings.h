#pragma once
// What any of the three files may hold that the viewer reads otherwise than
// it looks: a Ctrl-Z that ends the file early, lines that are not UTF-8, a
// byte-order mark read as part of the first line.
#include <cstddef>

#include "publisher/checked_chart.h"

namespace publisher {

void FindFileFaults(CheckedChart& chart, std::size_t file);

}  // namespace publisher
