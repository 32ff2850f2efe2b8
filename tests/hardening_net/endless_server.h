#pragma once
// A loopback HTTP server that never stops talking: every request is answered
// with a head and then one piece repeated for as long as the client reads.
// It stands for servers that send headers forever or a body without end.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace update_test {

class EndlessServer {
public:
    EndlessServer(std::string head, std::string piece);
    ~EndlessServer();
    EndlessServer(const EndlessServer&) = delete;
    EndlessServer& operator=(const EndlessServer&) = delete;

    std::string Base() const;  // "http://127.0.0.1:<port>"
    std::uint64_t BytesSent() const { return sent_.load(); }

private:
    void AcceptLoop();
    void Serve(int fd);

    const std::string head_;
    const std::string piece_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> sent_{0};
    std::mutex mutex_;
    std::vector<int> connections_;
    std::vector<std::thread> servers_;
    std::thread acceptor_;
};

}  // namespace update_test
