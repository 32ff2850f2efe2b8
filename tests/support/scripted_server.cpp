// The scripted loopback HTTP server.
#include "support/scripted_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace support {
namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    return a;
}

int BoundSocket(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t len = sizeof a;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        throw std::runtime_error("cannot bind a loopback socket");
    }
    port = ntohs(a.sin_port);
    return fd;
}

// Reads one request's head into head; returns its path, or "" when the client is gone.
std::string ReadRequest(int fd, std::string& pending, std::string& head) {
    while (pending.find("\r\n\r\n") == std::string::npos) {
        char buf[4096];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return "";
        pending.append(buf, static_cast<std::size_t>(n));
    }
    const std::size_t end = pending.find("\r\n\r\n") + 4;
    head = pending.substr(0, end);
    pending.erase(0, end);
    const std::size_t first = head.find(' ');
    const std::size_t second = head.find(' ', first + 1);
    return head.substr(first + 1, second - first - 1);
}

// A socket listening on 127.0.0.1 at a port the system picks; port is set to it.
int ListenOnLoopback(int& port) {
    const int fd = BoundSocket(port);
    if (::listen(fd, 16) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot listen on a loopback socket");
    }
    return fd;
}

// Sends all of bytes; false once the client is gone.
bool SendAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

Step Send(std::string bytes) { return {Step::Kind::Send, std::move(bytes), {}}; }
Step Pause(std::chrono::milliseconds delay) { return {Step::Kind::Pause, {}, delay}; }
Step Close() { return {Step::Kind::Close, {}, {}}; }
Step Reset() { return {Step::Kind::Reset, {}, {}}; }
Step Hang() { return {Step::Kind::Hang, {}, {}}; }
Step Hold() { return {Step::Kind::Hold, {}, {}}; }
Step Trickle(std::string bytes, std::chrono::milliseconds perByte) {
    return {Step::Kind::Trickle, std::move(bytes), perByte};
}
Step Endless(std::string piece) { return {Step::Kind::Endless, std::move(piece), {}}; }

std::string Ok(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

int ClosedPort() {
    int port = 0;
    ::close(BoundSocket(port));
    return port;
}

ScriptedServer::ScriptedServer() {
    listenFd_ = ListenOnLoopback(port_);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

ScriptedServer::~ScriptedServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const Connection& c : connections_) {
            if (!c.done) ::shutdown(c.fd, SHUT_RDWR);
        }
    }
    changed_.notify_all();
    ::shutdown(listenFd_, SHUT_RDWR);
    acceptor_.join();
    for (Connection& c : connections_) c.thread.join();
    ::close(listenFd_);
}

void ScriptedServer::On(const std::string& path, Script script) {
    std::lock_guard lock(mutex_);
    scripts_[path] = std::move(script);
}

void ScriptedServer::Release() {
    {
        std::lock_guard lock(mutex_);
        released_ = true;
    }
    changed_.notify_all();
}

std::string ScriptedServer::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> ScriptedServer::RequestedPaths() const {
    std::lock_guard lock(mutex_);
    return requested_;
}

std::vector<std::string> ScriptedServer::RequestHeads() const {
    std::lock_guard lock(mutex_);
    return heads_;
}

bool ScriptedServer::WaitForRequest(const std::string& path, std::chrono::milliseconds timeout,
                                    int times) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        return std::count(requested_.begin(), requested_.end(), path) >= times;
    });
}

void ScriptedServer::AcceptLoop() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        std::lock_guard lock(mutex_);
        if (fd < 0 || stopping_) {
            if (fd >= 0) ::close(fd);
            return;
        }
        for (auto c = connections_.begin(); c != connections_.end();) {
            if (!c->done) {
                ++c;
                continue;
            }
            c->thread.join();
            c = connections_.erase(c);
        }
        Connection& added = connections_.emplace_back(Connection{fd, {}});
        added.thread = std::thread([this, &added] { Serve(added); });
    }
}

bool ScriptedServer::Stopping() {
    std::lock_guard lock(mutex_);
    return stopping_;
}

bool ScriptedServer::Sleep(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, delay, [this] { return stopping_; });
}

bool ScriptedServer::SendCounted(int fd, const std::string& bytes) {
    if (!SendAll(fd, bytes)) return false;
    sent_ += bytes.size();
    return true;
}

bool ScriptedServer::Play(int fd, const Step& step) {
    switch (step.kind) {
    case Step::Kind::Send:
        return SendCounted(fd, step.bytes);
    case Step::Kind::Pause:
        return Sleep(step.delay);
    case Step::Kind::Close:
        return false;
    case Step::Kind::Reset: {
        const linger hard{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        return false;
    }
    case Step::Kind::Hang: {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopping_; });
        return false;
    }
    case Step::Kind::Hold: {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return released_ || stopping_; });
        return !stopping_;
    }
    case Step::Kind::Trickle:
        for (char c : step.bytes) {
            if (!Sleep(step.delay) || !SendCounted(fd, std::string(1, c))) return false;
        }
        return true;
    case Step::Kind::Endless:
        // Until the client hangs up (or the server stops).
        while (!Stopping() && SendCounted(fd, step.bytes)) {
        }
        return false;
    }
    return false;
}

void ScriptedServer::Serve(Connection& connection) {
    const int fd = connection.fd;
    std::string pending;
    bool open = true;
    while (open) {
        std::string head;
        const std::string path = ReadRequest(fd, pending, head);
        if (path.empty()) break;
        Script script;
        {
            std::lock_guard lock(mutex_);
            requested_.push_back(path);
            heads_.push_back(std::move(head));
            const auto found = scripts_.find(path);
            script = found != scripts_.end()
                         ? found->second
                         : Script{Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n")};
        }
        changed_.notify_all();
        for (const Step& step : script) {
            if (!(open = Play(fd, step))) break;
        }
    }
    std::lock_guard lock(mutex_);
    ::close(fd);
    connection.done = true;
}

}  // namespace support
