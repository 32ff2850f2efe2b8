#pragma once
#include <stdexcept>
#include <string>

namespace chart {

// Raised when a test's count is not an integer:
// "'<text>' is not a valid integer value".
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& text)
        : std::runtime_error("'" + text + "' is not a valid integer value") {}
};

}  // namespace chart
