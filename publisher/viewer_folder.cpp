#include "publisher/viewer_folder.h"

#include <stdlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "chart/files/chart_file_set.h"
#include "chart/files/file_bytes.h"

namespace publisher {

ViewerFolder::ViewerFolder(const PublisherFolder& folder) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-chart-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
    constexpr std::array<const char*, PublisherFolder::kFiles> kNames = {
        chart::kDataFileName, chart::kPolicyFileName, chart::kVersionFileName};
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        std::string bytes;
        try {
            bytes = chart::ReadFileBytes(folder.Path(file), chart::kChartFileSizeCap);
        } catch (const std::exception&) {
            continue;
        }
        std::ofstream out(path_ + "/" + kNames[file], std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) throw std::runtime_error("cannot write a temporary copy of " + folder.Name(file));
    }
}

ViewerFolder::~ViewerFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace publisher
