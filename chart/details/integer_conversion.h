#pragma once
// The integer conversion of a test's count.
#include <cstdint>
#include <optional>
#include <string_view>

namespace chart {

// Leading spaces, an optional sign, then decimal digits, or hexadecimal digits
// after $, x, X, 0x or 0X (the sign before the prefix), and nothing after.
// Decimal must fit a 32-bit signed integer; hexadecimal may go up to FFFFFFFF
// and is read as 32-bit two's complement before the sign applies. Anything
// else raises ConversionError.
std::int32_t ToInteger(std::string_view text);
// The same without raising: nothing where ToInteger raises.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace chart
