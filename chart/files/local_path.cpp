// Where the chart's local files live, beside the executable.
#include "chart/files/local_path.h"

#include <unistd.h>

#include <vector>

namespace chart {

std::optional<std::string> ExecutableDirectory() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return std::nullopt;
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(n));
            const auto slash = path.find_last_of('/');
            if (slash == std::string::npos) return std::nullopt;
            if (slash == 0) return "/";
            return path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);  // the link may have been truncated
    }
}

std::string LocalPath(const std::string& directory, const std::string& name) {
    if (directory.empty()) return {};
    return directory + "/" + name;
}

}  // namespace chart
