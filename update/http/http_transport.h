#pragma once
// What the worker asks of the HTTP module, which the first update loads: its
// HTTP client, and minisign's functions for a signed chart.
#include <chrono>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "update/failure.h"
#include "update/folder/output_file.h"
#include "chart/verify/minisign.h"

namespace update {

struct HttpLimits {
    std::chrono::milliseconds connectTimeout;
    std::chrono::milliseconds stallTimeout;
    std::uint64_t bodyCap;
    // The whole update's end: a GET still going then fails as not answered in time.
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    // Certificate authorities an HTTPS server's certificate is checked
    // against; empty: the system's store.
    std::string caFile;
};

class HttpTransport {
public:
    virtual ~HttpTransport() = default;

    // One GET of url; a body that the server's answer allows is written to
    // out, byte for byte. Returns nothing on success. urlPath names the file
    // in messages. Returns a Cancelled failure soon after a stop is requested.
    virtual std::optional<Failure> Get(const std::string& url, const std::string& urlPath,
                                       OutputFile& out, std::stop_token stop) = 0;
};

// The module's file, looked for in the executable's own folder (which is also
// its install folder). libcurl and libsodium live in it, so that a start that
// never updates does not load them.
inline constexpr char kHttpModuleFileName[] = "vantrel-http.so";
// Its one exported function: a new client (owned by the caller), or nullptr
// with why in *failure when libcurl cannot be set up as the download needs.
// A module built against another version of this interface returns nullptr
// and leaves *failure as the caller set it.
inline constexpr char kHttpModuleEntryName[] = "vantrel_http_client_create";
// Its other exported function: minisign's functions, or nullptr when
// libsodium cannot be set up (or the module is of another version).
inline constexpr char kMinisignEntryName[] = "vantrel_minisign_primitives";
// Raised whenever HttpTransport, HttpLimits, MinisignPrimitives, Failure,
// OutputFile or an entry change, so a stale module beside a newer program is
// refused, not misread.
inline constexpr int kHttpInterfaceVersion = 8;
using HttpModuleEntry = HttpTransport* (*)(int interfaceVersion, const HttpLimits* limits,
                                           Failure* failure);
using MinisignEntry = const chart::MinisignPrimitives* (*)(int interfaceVersion);

}  // namespace update
