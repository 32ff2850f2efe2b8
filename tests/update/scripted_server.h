#pragma once
// A raw HTTP server on 127.0.0.1 for the update tests: each request path
// plays a script of steps (send bytes, pause, close, reset, hang, trickle),
// so the worker meets every kind of answer a real server could give.
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace update_test {

struct Step {
    enum class Kind { Send, Pause, Close, Reset, Hang, Trickle, Hold };
    Kind kind;
    std::string bytes;                // Send, Trickle
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
    // Waits until path has been requested (that many times).
    bool WaitForRequest(const std::string& path, std::chrono::milliseconds timeout, int times = 1);

private:
    void AcceptLoop();
    void Serve(int fd);
    bool Sleep(std::chrono::milliseconds delay);  // false when stopping

    int listenFd_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool released_ = false;
    std::map<std::string, Script> scripts_;
    std::vector<std::string> requested_;
    std::vector<int> connections_;
    std::vector<std::thread> servers_;
    std::thread acceptor_;
};

// A TCP port on 127.0.0.1 that nobody listens on.
int ClosedPort();

// The pieces of a loopback server, for the other test servers.
// A socket listening on 127.0.0.1 at a port the system picks; port is set to it.
int ListenOnLoopback(int& port);
// Sends all of bytes; false once the client is gone.
bool SendAll(int fd, const std::string& bytes);

}  // namespace update_test
