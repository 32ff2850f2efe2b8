#pragma once
// The worker's HTTP client (its Http): one libcurl easy handle for the three
// blocking GETs, driven through a multi handle so the wait can be cut short
// by a cancel or a stalled server without waiting for libcurl's own timers.
// Built into the HTTP module only (see http_transport.h).
#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "failure.h"
#include "http_transport.h"
#include "output_file.h"

namespace update {

class HttpClient final : public HttpTransport {
public:
    // nullptr when libcurl cannot set up its handles.
    static std::unique_ptr<HttpClient> Create(const HttpLimits& limits);
    ~HttpClient() override;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // One GET of url; a body that the server's answer allows is written to
    // out, byte for byte. Returns nothing on success. urlPath names the file
    // in messages. Returns a Cancelled failure soon after cancel turns true.
    std::optional<Failure> Get(const std::string& url, const std::string& urlPath,
                               OutputFile& out, const std::atomic<bool>& cancel) override;

private:
    HttpClient(void* easy, void* multi, const HttpLimits& limits);

    void* easy_;   // CURL*
    void* multi_;  // CURLM*
    HttpLimits limits_;
};

}  // namespace update
