// A file's or folder's events, as inotify tells them.
#include "support/file_events.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace support {

FileEvents::FileEvents(const std::string& path, std::uint32_t mask)
    : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0 || ::inotify_add_watch(fd_, path.c_str(), mask) < 0) {
        const std::string why = std::strerror(errno);
        if (fd_ >= 0) ::close(fd_);
        throw std::runtime_error("cannot watch " + path + ": " + why);
    }
}

FileEvents::~FileEvents() { ::close(fd_); }

std::vector<FileEvent> FileEvents::Next(std::chrono::milliseconds wait) {
    std::vector<FileEvent> events;
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(wait.count())) <= 0) return events;
    alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + 256)];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) return events;  // EAGAIN: all read
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            events.push_back({event->mask, event->len ? std::string(event->name) : std::string()});
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

}  // namespace support
