// Which addresses a chart may have the desktop open: web pages only, byte for byte.
#include "chart/details/web_address.h"

#include <array>
#include <cstring>
#include <string_view>

#include "chart/text/ascii.h"

namespace chart {
namespace {

using ascii::IsDigit;
using ascii::IsHexDigit;

// The bytes every part of an address allows (unreserved characters and
// sub-delimiters), and those no address may hold as they are: one table, as
// each byte of every address is looked up.
enum ByteClass : unsigned char { kPlain = 1, kUnsafe = 2 };
constexpr std::array<unsigned char, 256> kByteClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        if (ascii::IsLetter(ch) || IsDigit(ch)) classes[c] = kPlain;
        if (c >= 0x80) classes[c] = kUnsafe;
    }
    for (const char c : std::string_view("-._~!$&'()*+,;=")) classes[static_cast<unsigned char>(c)] = kPlain;
    for (const char c : std::string_view("\"<>^`{|}")) classes[static_cast<unsigned char>(c)] = kUnsafe;
    return classes;
}();

bool IsUnreservedOrSubDelim(char c) { return kByteClasses[static_cast<unsigned char>(c)] == kPlain; }

// Whether text[i] is allowed in a part made of unreserved characters,
// sub-delimiters, %XX escapes and the given extra characters.
bool AllowedAt(std::string_view text, size_t i, const char* extra) {
    const char c = text[i];
    if (c == '%') return i + 2 < text.size() && IsHexDigit(text[i + 1]) && IsHexDigit(text[i + 2]);
    return IsUnreservedOrSubDelim(c) || (c != '\0' && std::strchr(extra, c));
}

bool AllAllowed(std::string_view text, const char* extra) {
    for (size_t i = 0; i < text.size(); ++i)
        if (!AllowedAt(text, i, extra)) return false;
    return true;
}

bool IsIpLiteral(std::string_view host) {
    if (host.size() < 3 || host.front() != '[' || host.back() != ']') return false;
    const std::string_view inside = host.substr(1, host.size() - 2);
    bool colon = false;
    for (const char c : inside) {
        if (c == ':') colon = true;
        else if (!IsHexDigit(c) && c != '.') return false;
    }
    return colon;
}

bool IsValidPort(std::string_view port) {
    if (port.size() > 5) return false;
    long value = 0;
    for (const char c : port) {
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    return value <= 65535;
}

// authority = [ userinfo "@" ] host [ ":" port ], with a host that is not empty.
bool IsValidAuthority(std::string_view authority) {
    const size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        if (!AllAllowed(authority.substr(0, at), ":")) return false;
        authority.remove_prefix(at + 1);
    }
    std::string_view host = authority;
    const size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos) {
        if (!IsValidPort(authority.substr(colon + 1))) return false;
        host = authority.substr(0, colon);
    }
    if (host.empty()) return false;
    if (host.front() == '[') return IsIpLiteral(host);
    return AllAllowed(host, "");
}

// The rest after the authority: path, then "?" query, then "#" fragment.
bool IsValidPathQueryFragment(std::string_view rest) {
    const size_t hash = rest.find('#');
    if (hash != std::string_view::npos) {
        if (!AllAllowed(rest.substr(hash + 1), ":@/?")) return false;
        rest = rest.substr(0, hash);
    }
    const size_t question = rest.find('?');
    if (question != std::string_view::npos) {
        if (!AllAllowed(rest.substr(question + 1), ":@/?")) return false;
        rest = rest.substr(0, question);
    }
    return AllAllowed(rest, ":@/");
}

std::string_view WithoutSpacesAndTabs(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsRefusedByte(unsigned char byte) { return byte <= 0x20 || byte == 0x7F || byte == '\\'; }

// Bytes no URL may hold as they are: everything else is left to the parse.
bool MustBeEscaped(std::string_view text, size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '%') return !(i + 2 < text.size() && IsHexDigit(text[i + 1]) && IsHexDigit(text[i + 2]));
    return kByteClasses[byte] == kUnsafe;
}

}  // namespace

bool IsWebAddress(std::string_view address) {
    return ascii::StartsWithNoCase(address, "http://") || ascii::StartsWithNoCase(address, "https://");
}

std::optional<std::string> AddressToOpen(std::string_view address) {
    address = WithoutSpacesAndTabs(address);
    if (!IsWebAddress(address)) return std::nullopt;

    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(address.size());
    size_t copied = 0;  // bytes of address up to here are in escaped
    for (size_t i = 0; i < address.size(); ++i) {
        const auto byte = static_cast<unsigned char>(address[i]);
        if (IsRefusedByte(byte)) return std::nullopt;
        if (!MustBeEscaped(address, i)) continue;
        escaped.append(address.substr(copied, i - copied));
        escaped += '%';
        escaped += kHex[byte >> 4];
        escaped += kHex[byte & 0x0F];
        copied = i + 1;
    }
    escaped.append(address.substr(copied));

    const size_t authorityStart = escaped.find("//") + 2;
    const size_t authorityEnd = escaped.find_first_of("/?#", authorityStart);
    const std::string_view all(escaped);
    const std::string_view authority = all.substr(authorityStart, authorityEnd - authorityStart);
    const std::string_view rest =
        authorityEnd == std::string::npos ? std::string_view{} : all.substr(authorityEnd);
    if (!IsValidAuthority(authority) || !IsValidPathQueryFragment(rest)) return std::nullopt;
    return escaped;
}

}  // namespace chart
