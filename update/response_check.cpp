#include "response_check.h"

#include <cctype>

namespace update {
namespace {

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
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsLocationHeader(std::string_view line) {
    constexpr std::string_view kName = "location:";
    if (line.size() < kName.size()) return false;
    for (std::size_t i = 0; i < kName.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i]) return false;
    }
    return true;
}

}  // namespace

ResponseCheck::Verdict ResponseCheck::OnHeaderLine(std::string_view raw) {
    if (verdict_ != Verdict::Pending) return verdict_;
    const std::string_view line = TrimLineEnd(raw);

    if (line.starts_with("HTTP/")) {  // a new response begins (after an interim one)
        sawStatusLine_ = true;
        status_ = ParseStatusCode(line);
        location_ = false;
        if (status_ < 0) verdict_ = Verdict::Refuse;
        return verdict_;
    }
    if (!line.empty()) {
        if (IsLocationHeader(line)) location_ = true;
        return verdict_;
    }

    // End of one response's headers.
    if (!sawStatusLine_) {
        status_ = -1;
        verdict_ = Verdict::Refuse;
    } else if (status_ == 100) {
        sawStatusLine_ = false;  // interim: the final response follows
    } else if (status_ >= 200 && status_ <= 299 && !location_) {
        verdict_ = Verdict::Accept;
    } else {
        verdict_ = Verdict::Refuse;
    }
    return verdict_;
}

}  // namespace update
