#pragma once
// Only web pages are handed to the desktop: an address from a downloaded chart
// must never make it open a local file or run anything. And the page opened is
// the one the chart names, byte for byte, or none at all.
#include <optional>
#include <string>
#include <string_view>

namespace chart {

// True when the address begins with "http://" or "https://", in any letter case.
bool IsWebAddress(std::string_view address);

// The address as it is handed to the desktop, or nothing when it is not a web
// address. Leading and trailing spaces and tabs are dropped (as a browser
// drops them); an address holding a backslash, any other white space or a
// control byte is refused, since browsers read such addresses in ways of
// their own. Each byte that may not appear in a URL (bytes from 0x80 up, a
// '%' that starts no %XX escape, and " < > ^ ` { | }) becomes its %XX escape;
// all else stays as written. The result must then be an http or https URL
// with a host (RFC 3986, parsed strictly; a port at most 65535).
std::optional<std::string> AddressToOpen(std::string_view address);

}  // namespace chart
