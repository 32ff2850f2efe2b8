// The conversion of a test's count against an independent model built on the
// C library's strtoll and strtoul.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "chart/details/conversion_error.h"
#include "chart/details/integer_conversion.h"
#include "fuzz_support.h"

namespace {

bool AllOf(const std::string& s, int (*is)(int)) {
    for (const char c : s)
        if (!is(static_cast<unsigned char>(c))) return false;
    return true;
}

std::optional<std::int32_t> Model(const std::string& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return std::nullopt;
    std::string rest = text.substr(start);
    bool negative = false;
    if (rest[0] == '+' || rest[0] == '-') {
        negative = rest[0] == '-';
        rest.erase(0, 1);
    }
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        rest.erase(0, 1);
    } else if (rest.size() > 1 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        rest.erase(0, 2);
    } else {
        // Decimal: strtoll checks the range; the digits are checked here
        // because strtoll would also take spaces, signs and a tail.
        if (rest.empty() || !AllOf(rest, isdigit)) return std::nullopt;
        errno = 0;
        const long long value = std::strtoll(((negative ? "-" : "") + rest).c_str(), nullptr, 10);
        if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
        return static_cast<std::int32_t>(value);
    }
    // Hexadecimal: up to 32 bits, read as two's complement, then the sign.
    if (rest.empty() || !AllOf(rest, isxdigit)) return std::nullopt;
    const std::size_t nonZero = rest.find_first_not_of('0');
    const std::string digits = nonZero == std::string::npos ? "0" : rest.substr(nonZero);
    if (digits.size() > 8) return std::nullopt;
    std::uint32_t bits = static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
    if (negative) bits = ~bits + 1u;
    return static_cast<std::int32_t>(bits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> expected = Model(text);
    try {
        const std::int32_t value = chart::ToInteger(text);
        fuzz::Require(expected.has_value(), "only integers convert");
        fuzz::Require(value == *expected, "the value the model gives");
    } catch (const chart::ConversionError& error) {
        fuzz::Require(!expected.has_value(), "every integer converts");
        // what() is C text: a NUL in the count ends it there.
        const std::string message = "'" + text + "' is not a valid integer value";
        fuzz::Require(error.what() == message.substr(0, message.find('\0')), "the error names the text");
    }
    return 0;
}
