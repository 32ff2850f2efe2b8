#pragma once
// Whether chart text is valid UTF-8 (the window shows it as such, and as
// Windows-1252 otherwise). Overlong forms, surrogates and code points past
// U+10FFFF are not valid.
#include <string_view>

namespace chart {

bool IsValidUtf8(std::string_view text);

}  // namespace chart
