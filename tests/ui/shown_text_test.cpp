// The chart core's reading of a cell (chart::ShownCell, which the compare
// window's CSV and Find go by) held against the window's own, through the
// toolkit's decoder: the same text for every line, whatever its bytes.
#include <gtest/gtest.h>

#include <QString>
#include <QStringDecoder>

#include "chart/text/shown_text.h"
#include "ui/text/display_text.h"

namespace vantrel::ui::testing {
namespace {

// The core's UTF-8 as a QString, a leading byte-order mark kept as a character.
QString FromUtf8(const std::string& utf8) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

TEST(ShownText, TheCoreShowsACellAsTheGridDoes) {
    std::vector<std::string> lines = {
        "Alpha", "", "caf\xC3\xA9", "caf\xE9 \x85 \x81\x8D\x8F\x90\x9D",  // UTF-8; Windows-1252 and its five gaps
        "\xEF\xBB\xBF" "10",                                                 // a byte-order mark is a character
        "abc\xE2\x80\xAE" "fdp.exe\xE2\x81\xA7x\xE2\x81\xA9",                 // bidirectional controls
        "a\xE2\x80\xA8" "b\xE2\x80\xA9" "c\xC2\x85" "d\ve\ff\rg\th",          // line breaks; a TAB stays
        "one\r\ntwo\nthree\r", "\xE2\x80\xAE\n\xE9",                          // lines decoded each on its own
        std::string(kDisplayTextLimit, 'x'), std::string(kDisplayTextLimit + 1, 'x'),
        std::string(3 * kDisplayTextLimit, '\xE9'),
    };
    // A character of two UTF-16 units across the cut, or just within it.
    for (const std::size_t before : {kDisplayTextLimit - 1, kDisplayTextLimit - 2}) {
        lines.push_back(std::string(before, 'a') + "\xF0\x9F\x98\x80" "b");
        lines.push_back(std::string(before, 'a') + "\xF0\x9F\x98\x80");
    }
    std::string overrides;  // more than the limit's worth, before the text
    for (int i = 0; i < 3000; ++i) overrides += "\xE2\x80\xAE";
    lines.push_back(overrides + std::string(kDisplayTextLimit + 5, 'y'));
    for (int byte = 1; byte < 256; ++byte) lines.push_back(std::string("[") + static_cast<char>(byte) + "]");

    for (const std::string& line : lines)
        EXPECT_EQ(FromUtf8(chart::ShownCell(line)), DisplayCell(line)) << line.substr(0, 40);
}

}  // namespace
}  // namespace vantrel::ui::testing
