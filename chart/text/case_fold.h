#pragma once
// Letter case folded the same under every locale, for matching and ordering
// names as shown.
#include <string>
#include <string_view>

namespace chart {

// Each capital of ASCII, the Latin letters of Windows-1252 and Latin
// Extended-A, and basic Greek and Cyrillic to its small letter (Unicode's
// simple case folding); other characters stay as they are, since chart names
// are in these alphabets and full folding would need Unicode's tables.
char32_t FoldedCodePoint(char32_t c);
// valid: UTF-8 text (as ShownCell gives).
std::string FoldCase(std::string_view valid);

}  // namespace chart
