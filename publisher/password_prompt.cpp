// The secret key's password, asked for once and wiped when done.
#include "publisher/password_prompt.h"

#include <fcntl.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "chart/files/unique_fd.h"
#include "publisher/write_all.h"

namespace publisher {
namespace {

// A password longer than this is no password typed by a person.
constexpr std::size_t kLongestPassword = 1024;

// The terminal's echo off for as long as it lives (the line end still echoed).
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd) {
        if (::tcgetattr(fd_, &before_) != 0) return;
        termios quiet = before_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        on_ = ::tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (on_) ::tcsetattr(fd_, TCSAFLUSH, &before_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int fd_;
    termios before_{};
    bool on_ = false;
};

// One line from fd, a byte at a time (nothing past the line end is taken
// from a pipe another reader may share). Nothing when cut short.
std::optional<SecretText> ReadLine(int fd, const StopSignals& stop) {
    SecretText line;
    line.Text().reserve(kLongestPassword + 1);  // never moved: no copy is left behind
    for (;;) {
        if (!stop.WaitToRead(fd)) return std::nullopt;
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            if (stop.Caught()) return std::nullopt;
            continue;
        }
        if (got <= 0) return line.Text().empty() ? std::nullopt : std::optional<SecretText>(std::move(line));
        if (c == '\n') break;
        if (line.Text().size() < kLongestPassword) line.Text() += c;
    }
    if (line.Text().ends_with('\r')) line.Text().pop_back();
    return line;
}

}  // namespace

SecretText::~SecretText() { ::explicit_bzero(text_.data(), text_.capacity()); }

SecretText::SecretText(SecretText&& other) noexcept : text_(std::move(other.text_)) {}

std::optional<SecretText> AskPassword(const std::string& prompt, const StopSignals& stop) {
    const chart::UniqueFd terminal(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!terminal) return ReadLine(STDIN_FILENO, stop);
    std::optional<SecretText> answer = [&] {
        const EchoOff quiet(terminal.Get());
        WriteAll(terminal.Get(), prompt);
        return ReadLine(terminal.Get(), stop);
    }();
    if (!answer) WriteAll(terminal.Get(), "\n");  // the echo of the line end that never came
    return answer;
}

}  // namespace publisher
