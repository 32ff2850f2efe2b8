// A chart text as one grid cell shows it, in UTF-8.
#include "chart/text/shown_text.h"

#include "chart/text/display_limit.h"
#include "chart/text/utf8.h"
#include "chart/text/windows_1252.h"

namespace chart {
namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

bool IsAsciiLineBreak(unsigned char c) { return c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// What one character of a line becomes.
enum class Shown { AsItIs, Space, Nothing };

// A character of valid UTF-8 (its bytes from `at`, `length` of them): a line
// break is shown as a space, a bidirectional control not at all.
Shown ShownUtf8(std::string_view line, std::size_t at, std::size_t length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(line[at + k]); };
    if (length == 1) return IsAsciiLineBreak(byte(0)) ? Shown::Space : Shown::AsItIs;
    if (length == 2) return byte(0) == 0xC2 && byte(1) == 0x85 ? Shown::Space : Shown::AsItIs;  // NEL
    if (length != 3 || byte(0) != 0xE2) return Shown::AsItIs;
    if (byte(1) == 0x80 && (byte(2) == 0xA8 || byte(2) == 0xA9)) return Shown::Space;  // U+2028, U+2029
    if (byte(1) == 0x80 && byte(2) >= 0xAA && byte(2) <= 0xAE) return Shown::Nothing;  // U+202A to U+202E
    if (byte(1) == 0x81 && byte(2) >= 0xA6 && byte(2) <= 0xA9) return Shown::Nothing;  // U+2066 to U+2069
    return Shown::AsItIs;
}

std::size_t Utf8Length(unsigned char lead) { return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

// One line (no LF in it), counted in UTF-16 units as the window's toolkit
// counts them; nothing past the limit is looked at. Valid UTF-8 is copied
// a run at a time; a Windows-1252 line is decoded a byte at a time.
void AppendShownLine(std::string_view line, std::string& out) {
    const bool utf8 = IsValidUtf8(line);
    std::size_t units = 0;
    std::size_t run = 0;  // the start of the bytes kept as they are, not yet appended
    const auto flush = [&](std::size_t end) { out.append(line.substr(run, end - run)); };
    for (std::size_t at = 0; at < line.size();) {
        const auto lead = static_cast<unsigned char>(line[at]);
        const std::size_t length = utf8 ? Utf8Length(lead) : 1;
        const Shown shown = utf8 ? ShownUtf8(line, at, length) : IsAsciiLineBreak(lead) ? Shown::Space : Shown::AsItIs;
        if (shown != Shown::Nothing) {
            units += length == 4 ? 2 : 1;
            if (units > kDisplayTextLimit) {
                flush(at);
                out += kEllipsis;
                return;
            }
        }
        if (shown == Shown::AsItIs && (utf8 || lead < 0x80)) {
            at += length;
            continue;
        }
        flush(at);
        if (shown == Shown::Space) out += ' ';
        else if (shown == Shown::AsItIs) AppendUtf8(out, Windows1252CodePoint(lead));
        at += length;
        run = at;
    }
    flush(line.size());
}

}  // namespace

std::string ShownCell(std::string_view bytes) {
    std::string shown;
    for (std::size_t start = 0;;) {
        const std::size_t lf = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        if (lf != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
        AppendShownLine(line, shown);
        if (lf == std::string_view::npos) return shown;
        shown += ' ';
        start = lf + 1;
    }
}

}  // namespace chart
