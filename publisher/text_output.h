#pragma once
// Chart text printed to a terminal: control characters (a name holding ESC
// could recolour it, a TAB would split a row of `show`) are shown escaped, as
// \t, \r, \x1b or \u009b; so are the backslash (\\) and the invisible
// byte-order mark (\ufeff). Bytes that are no UTF-8 are shown as \xHH.
#include <string>
#include <string_view>

namespace publisher {

std::string ForTerminal(std::string_view text);

}  // namespace publisher
