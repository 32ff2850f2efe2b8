#pragma once
// Windows-1252, in which the window reads a line of chart text that is not
// valid UTF-8; the publisher's tool measures and escapes what it shows by it.
#include <array>

namespace chart {

// One character a byte, Latin-1 but for 0x80-0x9F, whose code points these
// are; the five undefined bytes keep their Latin-1 control code point, as the
// system's own conversion does.
inline constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char16_t Windows1252CodePoint(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

}  // namespace chart
