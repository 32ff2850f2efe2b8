// Chart text escaped for a terminal.
#include "publisher/text_output.h"

#include "chart/text/utf8.h"
#include "publisher/shown_text.h"

namespace publisher {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void Escape(std::string& out, const char* prefix, unsigned value, int digits) {
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0x0F];
}

// The length of the UTF-8 sequence a valid text has at its lead byte.
std::size_t SequenceLength(unsigned char lead) { return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

}  // namespace

std::string EscapedCodePoint(char32_t c) {
    std::string out;
    if (c > 0xFFFF) Escape(out, "\\U", c, 8);
    else Escape(out, "\\u", c, 4);
    return out;
}

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
        } else if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !utf8)) {
            Escape(out, "\\x", byte, 2);
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else {
            const std::size_t length = SequenceLength(byte);
            const std::string_view character = text.substr(i, length);
            const char32_t c = DecodedLine(character).front();
            if (UnseenKind(c) != Unseen::No) out += EscapedCodePoint(c);
            else out += character;
            i += length - 1;
        }
    }
    return out;
}

}  // namespace publisher
