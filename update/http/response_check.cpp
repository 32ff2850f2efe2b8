// Whether a GET's body may become the new file, from the response headers alone.
#include "update/http/response_check.h"

#include "chart/text/ascii.h"

namespace update {
namespace {

using chart::ascii::EqualsNoCase;
using chart::ascii::StartsWithNoCase;

std::string_view TrimLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

// "HTTP/1.1 200 OK" -> 200; -1 unless the code is exactly three digits.
int ParseStatusCode(std::string_view line) {
    const auto space = line.find(' ');
    if (space == std::string_view::npos) return -1;
    std::string_view code = line.substr(space + 1);
    code = code.substr(0, code.find(' '));
    if (code.size() != 3) return -1;
    int value = 0;
    for (char c : code) {
        if (!chart::ascii::IsDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// "Content-Encoding: gzip" and the like; "identity" (or nothing) is no encoding.
bool IsEncodedHeader(std::string_view line) {
    constexpr std::string_view kName = "content-encoding:";
    if (!StartsWithNoCase(line, kName)) return false;
    const std::string_view value = TrimBlanks(line.substr(kName.size()));
    return !value.empty() && !EqualsNoCase(value, "identity");
}

// 1xx answers come before the final one (100 Continue, 103 Early Hints, ...);
// 101 is not one of them: it ends HTTP on the connection.
bool IsInterim(int status) { return status >= 100 && status <= 199 && status != 101; }

}  // namespace

ResponseCheck::Verdict ResponseCheck::OnHeaderLine(std::string_view raw) {
    if (verdict_ != Verdict::Pending) return verdict_;
    const std::string_view line = TrimLineEnd(raw);

    if (line.starts_with("HTTP/")) {  // a new response begins (after an interim one)
        sawStatusLine_ = true;
        status_ = ParseStatusCode(line);
        location_ = false;
        encoded_ = false;
        if (status_ < 0) RefuseMalformed();
        return verdict_;
    }
    if (!line.empty()) {
        // Obsolete line folding: a header value continued on a line that
        // starts with white space. Whether the continuation belongs to the
        // header before it is read differently by different parsers.
        if (line.front() == ' ' || line.front() == '\t') {
            RefuseMalformed();
            return verdict_;
        }
        if (StartsWithNoCase(line, "location:")) location_ = true;
        if (IsEncodedHeader(line)) encoded_ = true;
        return verdict_;
    }

    // End of one response's headers.
    if (!sawStatusLine_) {
        status_ = -1;
        RefuseMalformed();
    } else if (IsInterim(status_)) {
        sawStatusLine_ = false;  // interim: the final response follows
    } else if (status_ >= 200 && status_ <= 299 && !location_) {
        notWholeFile_ = status_ == 206 || encoded_;
        verdict_ = notWholeFile_ ? Verdict::Refuse : Verdict::Accept;
    } else {
        verdict_ = Verdict::Refuse;
    }
    return verdict_;
}

void ResponseCheck::RefuseMalformed() {
    malformed_ = true;
    verdict_ = Verdict::Refuse;
}

}  // namespace update
