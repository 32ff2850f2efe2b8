#include "publisher/text_output.h"

#include "chart/text/utf8.h"

namespace publisher {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void Escape(std::string& out, const char* prefix, unsigned value, int digits) {
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0x0F];
}

}  // namespace

std::string ForTerminal(std::string_view text) {
    const bool utf8 = chart::IsValidUtf8(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            Escape(out, "\\x", byte, 2);
        } else if (byte >= 0x80 && !utf8) {
            Escape(out, "\\x", byte, 2);
        } else if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            Escape(out, "\\u00", static_cast<unsigned char>(text[++i]), 2);  // U+0080 to U+009F
        } else if (text.substr(i).starts_with("\xEF\xBB\xBF")) {
            out += "\\ufeff";
            i += 2;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

}  // namespace publisher
