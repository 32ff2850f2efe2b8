#pragma once
// The secret key's password, asked for once: on the terminal without echo,
// or, where there is none, read as one line of standard input. It is kept in
// memory only, handed on through pipes, and wiped when done.
#include <optional>
#include <string>

#include "publisher/stop_signals.h"

namespace publisher {

// Text wiped from memory when it goes.
class SecretText {
public:
    SecretText() = default;
    ~SecretText();
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    SecretText(SecretText&& other) noexcept;
    SecretText& operator=(SecretText&&) = delete;

    std::string& Text() { return text_; }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Asks with prompt; the answer without its line end. Nothing when a stop
// signal cuts the asking short (the terminal's echo is back then) or the
// input ends before a line.
std::optional<SecretText> AskPassword(const std::string& prompt, const StopSignals& stop);

}  // namespace publisher
