#pragma once
// Letter case folded the same under every locale, for matching and ordering
// names as shown: ASCII, the Latin letters of Windows-1252 and Latin
// Extended-A, and basic Greek and Cyrillic, each capital to its small letter
// (Unicode's simple case folding for them). Other characters stay as they
// are: a full folding would need Unicode's tables, which the core does not
// carry, and chart names are in these alphabets.
#include <string>
#include <string_view>

namespace chart {

char32_t FoldedCodePoint(char32_t c);
// valid: UTF-8 text (as ShownCell gives).
std::string FoldCase(std::string_view valid);

}  // namespace chart
