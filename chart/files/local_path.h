#pragma once
// Where the chart's local files live: the executable's directory, a path
// separator, then the bare name ("data", "policy", "version").
#include <string>

namespace chart {

// The directory of the running executable (from /proc/self/exe on Linux).
std::string ExecutableDirectory();

// directory + "/" + bare name.
std::string LocalPath(const std::string& directory, const std::string& name);

}  // namespace chart
