#pragma once
// The update lock's files, which stay in a chart folder once made (the shared
// ".vantrel-update.lock" and each user's own): tests comparing a folder's files
// leave them out.
#include <filesystem>
#include <string>

namespace support {

inline bool IsUpdateLockFile(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.starts_with(".vantrel-update") && name.ends_with(".lock");
}

}  // namespace support
