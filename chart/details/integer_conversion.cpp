// The integer conversion of a test's count.
#include "chart/details/integer_conversion.h"

#include <string>

#include "chart/details/conversion_error.h"

namespace chart {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::int32_t ToInteger(std::string_view text) {
    const auto value = ParseInteger(text);
    if (!value) throw ConversionError(text);
    return *value;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    const auto fail = [] { return std::optional<std::int32_t>(); };

    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size()) return fail();

    if (hex) {
        std::uint64_t value = 0;
        for (; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0) return fail();
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFu) return fail();
        }
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        if (negative) bits = 0u - bits;  // wraps like 32-bit negation
        return static_cast<std::int32_t>(bits);
    }

    std::int64_t value = 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return fail();
        value = value * 10 + (c - '0');
        if (value > limit) return fail();
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace chart
