// Letter case folded without a locale, for the alphabets chart names are written in.
#include "chart/text/case_fold.h"

#include "chart/text/utf8.h"

namespace chart {
namespace {

bool Between(char32_t c, char32_t first, char32_t last) { return c >= first && c <= last; }

// Where capitals and small letters alternate, the capital is the first of
// each pair: even code points in some runs, odd in others.
char32_t PairedSmall(char32_t c, char32_t capitalParity) { return (c & 1) == capitalParity ? c + 1 : c; }

}  // namespace

char32_t FoldedCodePoint(char32_t c) {
    if (c < 0x80) return Between(c, 'A', 'Z') ? c + 0x20 : c;
    if (Between(c, 0xC0, 0xDE) && c != 0xD7) return c + 0x20;
    if (c == 0xB5) return 0x3BC;  // micro sign: Greek mu
    if (Between(c, 0x100, 0x12F) || Between(c, 0x132, 0x137) || Between(c, 0x14A, 0x177)) return PairedSmall(c, 0);
    if (Between(c, 0x139, 0x148) || Between(c, 0x179, 0x17E)) return PairedSmall(c, 1);
    if (c == 0x178) return 0xFF;  // Y with diaeresis
    if (c == 0x17F) return 's';   // long s
    if (c == 0x1E9E) return 0xDF;  // capital sharp s
    if (c == 0x386) return 0x3AC;
    if (Between(c, 0x388, 0x38A)) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (Between(c, 0x38E, 0x38F)) return c + 63;
    if (Between(c, 0x391, 0x3AB) && c != 0x3A2) return c + 0x20;
    if (c == 0x3C2) return 0x3C3;  // final sigma
    if (Between(c, 0x400, 0x40F)) return c + 0x50;
    if (Between(c, 0x410, 0x42F)) return c + 0x20;
    return c;
}

std::string FoldCase(std::string_view valid) {
    std::string folded;
    folded.reserve(valid.size());
    for (std::size_t at = 0; at < valid.size();) AppendUtf8(folded, FoldedCodePoint(NextCodePoint(valid, at)));
    return folded;
}

}  // namespace chart
