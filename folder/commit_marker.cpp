// What the commit marker says, written and read.
#include "folder/commit_marker.h"

namespace folder {
namespace {

constexpr std::string_view kSignaturesLine = "+signatures";
constexpr std::string_view kLastLine = "end";

bool HasLine(std::string_view text, std::string_view line) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (text.substr(0, end) == line && end != std::string_view::npos) return true;
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return false;
}

bool IsStagedName(std::string_view name) {
    for (const ChartFile& file : kStagedFiles)
        if (name == file.name) return true;
    return false;
}

// Every line one a commit writes before the last, each ended.
bool AreMarkerLines(std::string_view lines) {
    for (std::string_view rest = lines; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) return false;
        const std::string_view line = rest.substr(0, end);
        if (line != kSignaturesLine && !IsStagedName(line)) return false;
        rest.remove_prefix(end + 1);
    }
    return true;
}

}  // namespace

CommitMarker::CommitMarker(FileSet set) : set_(set) {
    if (set.size() > kChartFiles.size()) lines_ = std::string(kSignaturesLine) + '\n';
}

std::optional<CommitMarker> CommitMarker::Parse(std::string_view text) {
    const std::string last = std::string(kLastLine) + '\n';
    const bool older = !text.ends_with(last);
    const std::string_view lines = older ? text : text.substr(0, text.size() - last.size());
    if (!AreMarkerLines(lines)) return std::nullopt;
    CommitMarker marker(StagedSet(HasLine(lines, kSignaturesLine)));
    marker.lines_ = std::string(lines);
    marker.older_ = older;
    return marker;
}

void CommitMarker::MarkNew(const ChartFile& file) { lines_ += std::string(file.name) + '\n'; }

bool CommitMarker::IsNew(const ChartFile& file) const { return HasLine(lines_, file.name); }

std::string CommitMarker::Text() const { return lines_ + std::string(kLastLine) + '\n'; }

}  // namespace folder
