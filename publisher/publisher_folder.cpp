#include "publisher/publisher_folder.h"

#include <unistd.h>

#include <filesystem>

#include "chart/files/chart_file_set.h"

namespace publisher {
namespace {

constexpr std::array<const char*, PublisherFolder::kFiles> kViewerNames = {
    chart::kDataFileName, chart::kPolicyFileName, chart::kVersionFileName};

std::string ServedName(std::size_t file) { return std::string(kViewerNames[file]) + ".dat"; }

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

PublisherFolder::PublisherFolder(std::string directory) : directory_(std::move(directory)) {
    // A file is found under either name; a missing one is named as the
    // folder's other files are (served names unless only viewer names are there).
    bool anyViewerName = false, anyServedName = false;
    for (std::size_t file = 0; file < kFiles; ++file) {
        anyServedName = anyServedName || Exists(directory_ + "/" + ServedName(file));
        anyViewerName = anyViewerName || Exists(directory_ + "/" + kViewerNames[file]);
    }
    const bool viewerStyle = anyViewerName && !anyServedName;
    for (std::size_t file = 0; file < kFiles; ++file) {
        const std::string served = ServedName(file);
        if (Exists(directory_ + "/" + served)) names_[file] = served;
        else if (Exists(directory_ + "/" + kViewerNames[file])) names_[file] = kViewerNames[file];
        else names_[file] = viewerStyle ? kViewerNames[file] : served;
    }
}

std::array<std::string, PublisherFolder::kFiles> PublisherFolder::Paths() const {
    return {Path(0), Path(1), Path(2)};
}

std::optional<std::string> PublisherFolder::SignatureName(std::size_t file) const {
    const std::string name = names_[file] + ".minisig";
    if (Exists(directory_ + "/" + name)) return name;
    return std::nullopt;
}

bool IsReadableFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error) && ::access(path.c_str(), R_OK | X_OK) == 0;
}

}  // namespace publisher
