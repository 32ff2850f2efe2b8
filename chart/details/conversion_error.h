#pragma once
// The error a test's count raises when it is not an integer.
#include <stdexcept>
#include <string>
#include <string_view>

namespace chart {

// Raised when a test's count is not an integer:
// "'<text>' is not a valid integer value".
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string_view text) : std::runtime_error(Message(text)) {}

private:
    // Built in one piece: the text may be megabytes long.
    static std::string Message(std::string_view text) {
        static constexpr std::string_view kTail = "' is not a valid integer value";
        std::string message;
        message.reserve(text.size() + 1 + kTail.size());
        message += '\'';
        message += text;
        message += kTail;
        return message;
    }
};

}  // namespace chart
