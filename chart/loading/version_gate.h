#pragma once
// The version gate: a version string is newer than the program's own when it
// sorts after it byte by byte (unsigned bytes, a prefix sorts first). No
// numeric reading: "9" is newer than "10", "09" is not.
#include <string_view>

namespace chart {

bool IsNewerVersion(std::string_view version, std::string_view builtIn);

}  // namespace chart
