#pragma once
// `vantrel-chart diff OLD NEW`: prints what readers of OLD will see change
// when they update to NEW, in What changed's words (the window's reload over
// the chart before, the chart core's changes), then where a reader who
// starts afresh on NEW sees otherwise, and what the releases' signatures say
// of their dates. Answers the exit status: 0 when nothing changes for
// readers, 1 when anything does.
#include <iosfwd>
#include <string>

namespace publisher {

int RunDiff(const std::string& oldFolder, const std::string& newFolder, std::ostream& out);

}  // namespace publisher
