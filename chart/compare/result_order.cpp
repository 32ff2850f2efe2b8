// Results compared as numbers of any length, digit by digit.
#include "chart/compare/result_order.h"

#include "chart/text/ascii.h"

namespace chart {
namespace {

// The run of digits from `at`, `at` moved past it.
std::string_view Digits(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && ascii::IsDigit(text[at])) ++at;
    return text.substr(start, at - start);
}

int Sign(int value) { return (value > 0) - (value < 0); }

// Of two numbers of one sign, compared without it.
int CompareMagnitudes(const ResultNumber& a, const ResultNumber& b) {
    if (a.whole.size() != b.whole.size()) return a.whole.size() < b.whole.size() ? -1 : 1;
    if (const int whole = Sign(a.whole.compare(b.whole))) return whole;
    return Sign(a.fraction.compare(b.fraction));
}

}  // namespace

ResultNumber ParseResultNumber(std::string_view text) {
    ResultNumber number;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) number.negative = text[at++] == '-';
    std::string_view whole = Digits(text, at);
    std::string_view fraction;
    if (at < text.size() && text[at] == '.') {
        ++at;
        fraction = Digits(text, at);
        if (fraction.empty()) return {};
    }
    if (whole.empty() || at != text.size()) return {};
    while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
    number.valid = true;
    number.whole = whole;
    number.fraction = fraction;
    if (whole.empty() && fraction.empty()) number.negative = false;  // -0 is 0
    return number;
}

int CompareNumbers(const ResultNumber& a, const ResultNumber& b) {
    if (a.negative != b.negative) return a.negative ? -1 : 1;
    const int magnitude = CompareMagnitudes(a, b);
    return a.negative ? -magnitude : magnitude;
}

}  // namespace chart
