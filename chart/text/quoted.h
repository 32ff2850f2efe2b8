#pragma once
// Chart text quoted in a line about it (a finding, a change): in single
// quotes, cut after a few dozen bytes (a name may be megabytes long), never
// inside a UTF-8 character, with "..." to say so.
#include <string>
#include <string_view>

namespace chart {

std::string Quoted(std::string_view text);

}  // namespace chart
