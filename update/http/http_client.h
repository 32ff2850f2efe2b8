#pragma once
// The worker's HTTP client (its Http): one libcurl easy handle for the three
// blocking GETs. Built into the HTTP module only.
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "update/http/curl_handles.h"
#include "update/failure.h"
#include "update/http/http_transport.h"
#include "update/folder/output_file.h"

namespace update {

class HttpClient final : public HttpTransport {
public:
    // A client, or why not: libcurl could not make its handles, or it
    // refuses an option the download relies on.
    static Result<std::unique_ptr<HttpClient>> Create(const HttpLimits& limits);
    ~HttpClient() override = default;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // One GET of url; a body that the server's answer allows is written to
    // out, byte for byte. Returns nothing on success. urlPath names the file
    // in messages. Returns a Cancelled failure soon after a stop is requested.
    std::optional<Failure> Get(const std::string& url, const std::string& urlPath,
                               OutputFile& out, std::stop_token stop) override;

private:
    HttpClient(EasyHandle easy, MultiHandle multi, const HttpLimits& limits);

    EasyHandle easy_;
    // The GETs are driven through a multi handle, so that a cancel or a stalled
    // server cuts the wait short without waiting for libcurl's own timers.
    MultiHandle multi_;  // goes before easy_, which it may still hold
    HttpLimits limits_;
};

}  // namespace update
