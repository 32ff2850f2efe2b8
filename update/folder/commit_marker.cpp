#include "update/folder/commit_marker.h"

namespace update {
namespace {

constexpr std::string_view kSignaturesLine = "+signatures";

bool HasLine(std::string_view text, std::string_view line) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (text.substr(0, end) == line && end != std::string_view::npos) return true;
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return false;
}

}  // namespace

CommitMarker::CommitMarker(FileSet set) : set_(set) {
    if (set.size() > kChartFiles.size()) text_ = std::string(kSignaturesLine) + '\n';
}

CommitMarker CommitMarker::Parse(std::string_view text) {
    CommitMarker marker(StagedSet(HasLine(text, kSignaturesLine)));
    marker.text_ = std::string(text);
    return marker;
}

void CommitMarker::MarkNew(const ChartFile& file) { text_ += std::string(file.name) + '\n'; }

bool CommitMarker::IsNew(const ChartFile& file) const { return HasLine(text_, file.name); }

}  // namespace update
