#pragma once
// Writing a whole text to a file descriptor, as the tool talks to minisign and
// to the terminal.
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace publisher {

// Writes text whole, again after a signal; stops quietly where the other end
// has gone (its reader reports what it missed).
inline void WriteAll(int fd, std::string_view text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return;
        done += static_cast<std::size_t>(wrote);
    }
}

}  // namespace publisher
