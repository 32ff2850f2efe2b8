#pragma once
// `vantrel-chart diff OLD NEW`: what readers of OLD will see change when they
// update to NEW, in What changed's words; exits 0 when nothing changes for
// readers, 1 when anything does.
#include <iosfwd>
#include <string>

namespace publisher {

// After the changes: where a reader who starts afresh on NEW sees otherwise,
// and what the releases' signatures say of their dates.
int RunDiff(const std::string& oldFolder, const std::string& newFolder, std::ostream& out);

}  // namespace publisher
