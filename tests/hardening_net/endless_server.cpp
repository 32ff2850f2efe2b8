#include "endless_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "scripted_server.h"

namespace update_test {
namespace {

// Reads up to the end of a request's head; false when the client is gone.
bool ReadRequestHead(int fd) {
    std::string head;
    while (head.find("\r\n\r\n") == std::string::npos) {
        char buf[4096];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return false;
        head.append(buf, static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

EndlessServer::EndlessServer(std::string head, std::string piece)
    : head_(std::move(head)), piece_(std::move(piece)) {
    listenFd_ = ListenOnLoopback(port_);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

EndlessServer::~EndlessServer() {
    stopping_.store(true);
    {
        std::lock_guard lock(mutex_);
        for (int fd : connections_) ::shutdown(fd, SHUT_RDWR);
    }
    ::shutdown(listenFd_, SHUT_RDWR);
    acceptor_.join();
    for (auto& t : servers_) t.join();
    ::close(listenFd_);
}

std::string EndlessServer::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void EndlessServer::AcceptLoop() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        std::lock_guard lock(mutex_);
        if (fd < 0 || stopping_.load()) {
            if (fd >= 0) ::close(fd);
            return;
        }
        connections_.push_back(fd);
        servers_.emplace_back([this, fd] { Serve(fd); });
    }
}

void EndlessServer::Serve(int fd) {
    if (ReadRequestHead(fd) && SendAll(fd, head_)) {
        sent_ += head_.size();
        // Until the client hangs up (or the server stops).
        while (!stopping_.load() && SendAll(fd, piece_)) sent_ += piece_.size();
    }
    std::lock_guard lock(mutex_);
    connections_.erase(std::find(connections_.begin(), connections_.end(), fd));
    ::close(fd);
}

}  // namespace update_test
