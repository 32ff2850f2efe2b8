#pragma once
// Chart text printed to a terminal, by show, diff and check alike, every
// character a reader cannot see as it stands (shown_text.h) escaped.
#include <string>
#include <string_view>

namespace publisher {

// Escaped so that a name holding ESC cannot recolour the terminal, a TAB cannot
// split a row of `show`, and a bidirectional override cannot reorder the line:
// \t, \r and \n; other ASCII controls as \x1b; the others as \u200f (four
// hexadecimal digits); the backslash doubled (\\); the bytes of a text that is
// not UTF-8 as \xHH from 0x80 on.
std::string ForTerminal(std::string_view text);

// The same escape for one character past ASCII ("\u200f"), for JSON too.
std::string EscapedCodePoint(char32_t c);

}  // namespace publisher
