// Chart text quoted, and cut short, in a line about it.
#include "chart/text/quoted.h"

namespace chart {

std::string Quoted(std::string_view text) {
    constexpr std::size_t kQuotedBytes = 60;
    if (text.size() <= kQuotedBytes) return "'" + std::string(text) + "'";
    std::size_t cut = kQuotedBytes;
    // Not inside a UTF-8 character: back to its first byte.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return "'" + std::string(text.substr(0, cut)) + "...'";
}

}  // namespace chart
