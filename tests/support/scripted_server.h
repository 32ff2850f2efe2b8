#pragma once
// A raw HTTP server on 127.0.0.1 at a port the system picks, each request path
// playing a script of steps, so that the worker meets every kind of answer a
// real server could give.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace support {

struct Step {
    enum class Kind { Send, Pause, Close, Reset, Hang, Trickle, Hold, Endless };
    Kind kind;
    std::string bytes;                // Send, Trickle, Endless
    std::chrono::milliseconds delay;  // Pause; Trickle: between bytes
};
using Script = std::vector<Step>;

Step Send(std::string bytes);
Step Pause(std::chrono::milliseconds delay);
Step Close();
Step Reset();  // close with SO_LINGER 0: the client sees a reset
Step Hang();   // never answer (until the server stops)
Step Trickle(std::string bytes, std::chrono::milliseconds perByte);
Step Hold();   // wait until the server's Release() (or its stop)
// Sends piece over and over for as long as the client reads (headers or a
// body without end).
Step Endless(std::string piece);

// A whole 200 answer with a Content-Length.
std::string Ok(const std::string& body);

class ScriptedServer {
public:
    ScriptedServer();
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    // Paths without a script get a 404. A script that ends without Close or
    // Reset keeps the connection for the next request.
    void On(const std::string& path, Script script);
    std::string Base() const;  // "http://127.0.0.1:<port>"
    // Lets every Hold step go on, now and from now on.
    void Release();
    std::vector<std::string> RequestedPaths() const;
    // Each request's head (request line and headers), in the same order.
    std::vector<std::string> RequestHeads() const;
    // Waits until path has been requested (that many times).
    bool WaitForRequest(const std::string& path, std::chrono::milliseconds timeout, int times = 1);
    // Bytes sent so far on every connection.
    std::uint64_t BytesSent() const { return sent_.load(); }

private:
    struct Connection {
        int fd;
        std::thread thread;
        bool done = false;  // closed; the thread is ending
    };

    void AcceptLoop();
    void Serve(Connection& connection);
    bool Play(int fd, const Step& step);          // false once the connection is to end
    bool Sleep(std::chrono::milliseconds delay);  // false when stopping
    bool SendCounted(int fd, const std::string& bytes);  // false once the client is gone
    bool Stopping();

    int listenFd_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool released_ = false;
    std::atomic<std::uint64_t> sent_{0};
    std::map<std::string, Script> scripts_;
    std::vector<std::string> requested_;
    std::vector<std::string> heads_;
    // Finished connections are joined as new ones come, so that a long fuzz
    // run does not pile up threads.
    std::list<Connection> connections_;
    std::thread acceptor_;
};

// A TCP port on 127.0.0.1 that nobody listens on.
int ClosedPort();

}  // namespace support
