// A finding printed as compilers print theirs, or as a JSON line.
#include "publisher/finding.h"

#include <algorithm>
#include <tuple>

#include "chart/text/utf8.h"
#include "publisher/shown_text.h"
#include "publisher/text_output.h"

namespace publisher {
namespace {

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

// A JSON string. Chart text that is not valid UTF-8 is given byte for byte as
// the code points U+0080 to U+00FF, so the line is always valid JSON; the
// characters a reader cannot see are escaped as the terminal's are.
std::string JsonString(std::string_view text) {
    const bool utf8 = chart::IsValidUtf8(text);
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = !utf8 || lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string_view character = text.substr(at, length);
        at += length;
        if (lead == '"' || lead == '\\') {
            out += '\\';
            out += character;
            continue;
        }
        const char32_t code = utf8 ? DecodedLine(character).front() : lead;
        // Past U+FFFF no character is unseen: none needs a surrogate pair.
        if ((!utf8 && lead >= 0x80) || UnseenKind(code) != Unseen::No) out += EscapedCodePoint(code);
        else out += character;
    }
    return out + "\"";
}

}  // namespace

bool Findings::Take(std::string_view kind, Severity severity) {
    hasError_ = hasError_ || severity == Severity::Error;
    auto at = kinds_.find(kind);
    if (at == kinds_.end()) at = kinds_.emplace(std::string(kind), Kind{}).first;
    taken_ = &at->second;
    return ++at->second.count <= kSameKindShown;
}

void Findings::Show(Finding finding) {
    taken_->lastShown = shown_.size();
    shown_.push_back(std::move(finding));
}

std::vector<Finding> Findings::Sorted(const std::array<std::string, 3>& fileOrder) const {
    // (file, line, order of finding): a kind's "more" line comes right after
    // its last shown finding.
    using Key = std::tuple<std::size_t, long long, std::size_t>;
    std::vector<std::pair<Key, Finding>> keyed;
    const auto key = [&](const Finding& finding, std::size_t order) {
        const auto file = std::find(fileOrder.begin(), fileOrder.end(), finding.file) - fileOrder.begin();
        return Key{static_cast<std::size_t>(file), finding.line, order};
    };
    for (std::size_t i = 0; i < shown_.size(); ++i) keyed.emplace_back(key(shown_[i], 2 * i), shown_[i]);
    for (const auto& [kind, seen] : kinds_) {
        if (seen.count <= kSameKindShown) continue;
        Finding more = shown_[seen.lastShown];
        more.line = 0;
        more.more = seen.count - kSameKindShown;
        more.message = "\xE2\x80\xA6" "and " + std::to_string(more.more) + " more like it";
        keyed.emplace_back(key(shown_[seen.lastShown], 2 * seen.lastShown + 1), std::move(more));
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Finding> sorted;
    sorted.reserve(keyed.size());
    for (auto& [order, finding] : keyed) sorted.push_back(std::move(finding));
    return sorted;
}

std::string CompilerLine(const Finding& finding) {
    if (finding.IsSummary()) return ForTerminal(finding.file) + ": " + finding.message;
    std::string line = ForTerminal(finding.file);
    if (finding.line > 0) line += ":" + std::to_string(finding.line);
    return line + ": " + SeverityName(finding.severity) + ": " + ForTerminal(finding.message);
}

std::string JsonLine(const Finding& finding) {
    if (finding.IsSummary())
        return "{\"file\":" + JsonString(finding.file) + ",\"more\":" + std::to_string(finding.more) +
               ",\"message\":" + JsonString(finding.message) + "}";
    return "{\"file\":" + JsonString(finding.file) +
           ",\"line\":" + (finding.line > 0 ? std::to_string(finding.line) : "null") +
           ",\"severity\":\"" + SeverityName(finding.severity) + "\",\"message\":" + JsonString(finding.message) +
           "}";
}

SeverityCounts CountBySeverity(const std::vector<Finding>& findings) {
    SeverityCounts counts;
    for (const Finding& finding : findings) {
        const long long count = finding.IsSummary() ? finding.more : 1;
        (finding.severity == Severity::Error ? counts.errors : counts.warnings) += count;
    }
    return counts;
}

}  // namespace publisher
