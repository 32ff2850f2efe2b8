#pragma once
// Whether chart text is valid UTF-8 (the window shows it as such, and as
// Windows-1252 otherwise). Overlong forms, surrogates and code points past
// U+10FFFF are not valid.
#include <cstddef>
#include <string>
#include <string_view>

namespace chart {

bool IsValidUtf8(std::string_view text);

// The code point that starts at `at` in valid UTF-8 text; `at` moves past it.
char32_t NextCodePoint(std::string_view valid, std::size_t& at);
// Appends a code point (at most U+10FFFF, no surrogate) in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace chart
