#pragma once
// The worker's HTTP client (its Http): one libcurl easy handle for the three
// blocking GETs, driven through a multi handle so the wait can be cut short
// by a cancel or a stalled server without waiting for libcurl's own timers.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "failure.h"
#include "output_file.h"

namespace update {

struct HttpLimits {
    std::chrono::milliseconds connectTimeout;
    std::chrono::milliseconds stallTimeout;
    std::uint64_t bodyCap;
    // The whole update's end: a GET still going then fails as not answered in time.
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
};

class HttpClient {
public:
    // nullptr when libcurl cannot set up its handles.
    static std::unique_ptr<HttpClient> Create(const HttpLimits& limits);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // One GET of url; a body that the server's answer allows is written to
    // out, byte for byte. Returns nothing on success. urlPath names the file
    // in messages. Returns a Cancelled failure soon after cancel turns true.
    std::optional<Failure> Get(const std::string& url, const std::string& urlPath,
                               OutputFile& out, const std::atomic<bool>& cancel);

private:
    HttpClient(void* easy, void* multi, const HttpLimits& limits);

    void* easy_;   // CURL*
    void* multi_;  // CURLM*
    HttpLimits limits_;
};

}  // namespace update
