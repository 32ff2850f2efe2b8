#pragma once
// How results sort: as numbers of any length, then "-", an empty result and
// anything else that is no number, last in both orders.
#include <string_view>

namespace chart {

// A result as a number: an optional sign, digits, and optionally a point
// and more digits ("27", "-3", "+5", "007", "3.5"). Views into the text.
struct ResultNumber {
    bool valid = false;
    bool negative = false;
    std::string_view whole;     // its digits before the point, less leading zeros
    std::string_view fraction;  // its digits after the point, less trailing zeros
};

ResultNumber ParseResultNumber(std::string_view text);

// Less than zero when a is the smaller number, zero when they are equal.
// Compared digit by digit, never converted, so that a value too large to add
// up still sorts.
int CompareNumbers(const ResultNumber& a, const ResultNumber& b);

}  // namespace chart
