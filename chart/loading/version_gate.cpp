// The version gate: version strings compared byte by byte.
#include "chart/loading/version_gate.h"

#include <algorithm>

namespace chart {

bool IsNewerVersion(std::string_view version, std::string_view builtIn) {
    const size_t common = std::min(version.size(), builtIn.size());
    for (size_t i = 0; i < common; ++i) {
        const auto a = static_cast<unsigned char>(version[i]);
        const auto b = static_cast<unsigned char>(builtIn[i]);
        if (a != b) return a > b;
    }
    return version.size() > builtIn.size();
}

}  // namespace chart
