#include "publisher/finding.h"

#include "chart/text/utf8.h"

namespace publisher {
namespace {

constexpr std::size_t kQuotedBytes = 60;

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

// A JSON string. Chart text that is not valid UTF-8 is given byte for byte as
// the code points U+0080 to U+00FF, so the line is always valid JSON.
std::string JsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    const bool utf8 = chart::IsValidUtf8(text);
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !utf8)) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

std::string CompilerLine(const Finding& finding) {
    std::string line = finding.file;
    if (finding.line > 0) line += ":" + std::to_string(finding.line);
    return line + ": " + SeverityName(finding.severity) + ": " + finding.message;
}

std::string JsonLine(const Finding& finding) {
    return "{\"file\":" + JsonString(finding.file) +
           ",\"line\":" + (finding.line > 0 ? std::to_string(finding.line) : "null") +
           ",\"severity\":\"" + SeverityName(finding.severity) + "\",\"message\":" + JsonString(finding.message) +
           "}";
}

std::string Quoted(std::string_view text) {
    if (text.size() <= kQuotedBytes) return "'" + std::string(text) + "'";
    std::size_t cut = kQuotedBytes;
    // Not inside a UTF-8 character: back to its first byte.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return "'" + std::string(text.substr(0, cut)) + "...'";
}

}  // namespace publisher
