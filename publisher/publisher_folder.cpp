// A publisher's chart folder found under the served names or the viewer's, and read.
#include "publisher/publisher_folder.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "chart/files/chart_file_set.h"
#include "chart/files/file_bytes.h"
#include "chart/files/file_error.h"

namespace publisher {
namespace {

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

std::string SizeInWords(std::uint64_t bytes) {
    if (bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MiB";
    if (bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " bytes";
}

std::string InWords(const chart::FileError& failure, std::uint64_t cap) {
    switch (failure.Code()) {
    case ENOENT: return "no such file";
    case EISDIR: return "it is a folder";
    case EINVAL: return "it is not a regular file";
    case EFBIG: return "it is larger than " + SizeInWords(cap);
    default: break;
    }
    std::string words = std::strerror(failure.Code());
    if (!words.empty()) words[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(words[0])));
    return words;
}

}  // namespace

PublisherFolder::PublisherFolder(std::string directory) : directory_(std::move(directory)) {
    // A file is found under either name; a missing one is named as the
    // folder's other files are (served names unless only viewer names are there).
    bool anyViewerName = false, anyServedName = false;
    for (std::size_t file = 0; file < kFiles; ++file) {
        anyServedName = anyServedName || Exists(directory_ + "/" + chart::kChartFileTable[file].Served());
        anyViewerName = anyViewerName || Exists(directory_ + "/" + chart::kChartFileTable[file].name);
    }
    const bool viewerStyle = anyViewerName && !anyServedName;
    for (std::size_t file = 0; file < kFiles; ++file) {
        const std::string served = chart::kChartFileTable[file].Served();
        const std::string viewers = chart::kChartFileTable[file].name;
        served_[file] = Exists(directory_ + "/" + served) || (!viewerStyle && !Exists(directory_ + "/" + viewers));
        names_[file] = served_[file] ? served : viewers;
    }
}

bool PublisherFolder::UnderTheViewersNameAmongServed(std::size_t file) const {
    bool anyServed = false;
    for (std::size_t other = 0; other < kFiles; ++other) anyServed = anyServed || served_[other];
    return anyServed && !served_[file];
}

std::string PublisherFolder::SignatureName(std::size_t file) const {
    const chart::ChartFileNames& names = chart::kChartFileTable[file];
    return served_[file] ? names.ServedSignature() : names.keptSignature;
}

bool PublisherFolder::AllServed() const { return served_[0] && served_[1] && served_[2]; }

FileRead PublisherFolder::Read(std::size_t file) const { return ReadBounded(Path(file), chart::kChartFileSizeCap); }

std::array<FileRead, PublisherFolder::kFiles> PublisherFolder::ReadAll() const { return {Read(0), Read(1), Read(2)}; }

FileRead ReadBounded(const std::string& path, std::uint64_t cap) {
    try {
        return {chart::ReadFileBytes(path, cap), {}};
    } catch (const chart::FileError& failure) {
        return {std::nullopt, InWords(failure, cap)};
    }
}

bool IsReadableFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error) && ::access(path.c_str(), R_OK | X_OK) == 0;
}

}  // namespace publisher
