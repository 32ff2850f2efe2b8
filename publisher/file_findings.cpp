// What any of the three files holds that the viewer reads otherwise than it looks.
#include "publisher/file_findings.h"

#include <algorithm>

#include "chart/files/line_reader.h"
#include "chart/text/utf8.h"

namespace publisher {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The viewer's line reader stops at a Ctrl-Z byte: what follows is never read.
void CheckCtrlZ(CheckedChart& chart, std::size_t file, std::string_view bytes) {
    const std::size_t stop = bytes.find('\x1A');
    if (stop == std::string_view::npos) return;
    const std::string_view rest = bytes.substr(stop);
    if (rest.find_first_not_of(" \t\r\n\x1A") == std::string_view::npos) return;  // an old end-of-file mark
    const long long line = std::count(bytes.begin(), bytes.begin() + static_cast<long>(stop), '\n') + 1;
    // The lines after the Ctrl-Z's own: a last one without its line end counts too.
    const std::size_t lineEnd = rest.find('\n');
    const std::string_view after = lineEnd == std::string_view::npos ? std::string_view() : rest.substr(lineEnd + 1);
    const long long lines = std::count(after.begin(), after.end(), '\n') + (!after.empty() && !after.ends_with('\n'));
    chart.Add(file, line, Severity::Error, "ctrl-z",
              "a Ctrl-Z byte stops the viewer's reader here: the rest of this line and the " +
                  Plural(lines, "line", "lines") + " after it are never read");
}

void CheckUtf8(CheckedChart& chart, std::size_t file, std::string_view bytes) {
    if (chart::IsValidUtf8(bytes)) return;
    chart::LineReader reader(chart::ByteInput{bytes});
    std::string line;
    for (long long number = 1; !reader.AtEnd(); ++number) {
        reader.ReadLine(line);
        if (!chart::IsValidUtf8(line))
            chart.Add(file, number, Severity::Warning, "not-utf8", [] {
                return "this line is not valid UTF-8: the window shows it as Windows-1252 text";
            });
    }
}

}  // namespace

std::optional<std::string> WideEncoding(std::string_view bytes) {
    const auto zero = [&](std::size_t at) { return at < bytes.size() && bytes[at] == '\0'; };
    const auto nonZero = [&](std::size_t at) { return at < bytes.size() && bytes[at] != '\0'; };
    if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) || bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        return "UTF-32";
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return "UTF-16";
    // Without a mark: text of the first 128 code points has zero bytes
    // around each character, which a text file in UTF-8 never has.
    if ((nonZero(0) && zero(1) && zero(2) && zero(3)) || (zero(0) && zero(1) && zero(2) && nonZero(3))) return "UTF-32";
    if ((nonZero(0) && zero(1) && nonZero(2) && zero(3)) || (zero(0) && nonZero(1) && zero(2) && nonZero(3)))
        return "UTF-16";
    return std::nullopt;
}

void FindFileFaults(CheckedChart& chart, std::size_t file) {
    const std::string_view bytes = *chart.bytes[file];
    if (bytes.starts_with(kByteOrderMark))
        chart.Add(file, 1, Severity::Warning, "bom",
                  "the file begins with a UTF-8 byte-order mark (\xEF\xBB\xBF), which the viewer reads as part of "
                  "the first line");
    CheckCtrlZ(chart, file, bytes);
    CheckUtf8(chart, file, bytes);
}

}  // namespace publisher
