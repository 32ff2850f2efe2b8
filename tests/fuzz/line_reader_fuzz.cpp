// The line reader against a plain model of its rules: the bytes up to the
// first Ctrl-Z, split at LF, every CR dropped, no empty line after a final LF.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/files/line_reader.h"
#include "fuzz_support.h"

namespace {

std::vector<std::string> ExpectedLines(const std::string& bytes) {
    const std::string text = bytes.substr(0, bytes.find('\x1A'));
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line.push_back(c);
        }
    }
    // A last line without LF counts unless it is empty and nothing of it was
    // seen (the text ended with LF, was empty, or a Ctrl-Z began the line).
    const std::size_t lastLf = text.rfind('\n');
    const std::size_t tail = lastLf == std::string::npos ? text.size() : text.size() - lastLf - 1;
    if (tail > 0) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // A first byte with its top bit set pushes the rest across the reader's
    // buffer boundary by a filler line, so refills meet every kind of byte.
    if (!bytes.empty() && (bytes[0] & 0x80)) {
        const std::size_t back = static_cast<unsigned char>(bytes[0]) & 0x3F;
        bytes = std::string(chart::LineReader::kBufferSize - back, 'f') + bytes.substr(1);
    }
    const std::string path = fuzz::ScratchDirectory() + "/lines";
    fuzz::WriteFile(path, bytes);

    const std::vector<std::string> expected = ExpectedLines(bytes);
    std::vector<std::string> lines;
    {
        chart::LineReader reader(path);
        std::string line;
        while (!reader.AtEnd()) {
            fuzz::Require(lines.size() <= bytes.size(), "the reader ends");
            // Both ways of reading a line, alternately.
            if (lines.size() % 2 == 0) {
                reader.ReadLine(line);
                lines.push_back(line);
            } else {
                lines.push_back(reader.ReadLine());
            }
        }
        fuzz::Require(reader.ReadLine().empty(), "reading at the end gives an empty line");
        fuzz::Require(reader.AtEnd(), "the end stays the end");
    }
    for (const std::string& line : lines)
        fuzz::Require(line.find_first_of("\r\n") == std::string::npos, "no CR or LF in a line");
    fuzz::Require(lines == expected, "lines as the rules give them");
    return 0;
}
