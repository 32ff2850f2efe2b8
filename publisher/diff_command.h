#pragma once
// `vantrel-chart diff OLD NEW`: prints what readers will see change and
// answers the exit status: 0 when the charts show the same, 1 when not.
#include <iosfwd>
#include <string>

namespace publisher {

int RunDiff(const std::string& oldFolder, const std::string& newFolder, std::ostream& out);

}  // namespace publisher
