#pragma once
// Where the chart's local files live: the executable's directory, a path
// separator, then the bare name ("data", "policy", "version").
#include <optional>
#include <string>

namespace chart {

// The directory of the running executable, from /proc/self/exe; nothing when
// that cannot be read (no /proc): never the current directory instead, which
// is wherever the program happened to be started.
std::optional<std::string> ExecutableDirectory();

// directory + "/" + bare name. An empty directory (none is known) gives an
// empty path, which names no file: opening it fails, it never means "/name".
std::string LocalPath(const std::string& directory, const std::string& name);

}  // namespace chart
