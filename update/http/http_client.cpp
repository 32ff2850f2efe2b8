// The worker's HTTP client: libcurl's easy handle driven through a multi handle.
#include "update/http/http_client.h"

#include <curl/curl.h>

#include <cerrno>

#include "chart/text/ascii.h"
#include "update/http/curl_options.h"
#include "update/http/response_check.h"

namespace update {
namespace {

using Clock = std::chrono::steady_clock;

// How long one wait for socket activity may last before the cancel flag and
// the stall clock are looked at again.
constexpr int kPollSliceMs = 50;

// A real answer's headers are a few hundred bytes; a server that sends more
// than this is refused instead of being listened to forever.
constexpr std::size_t kHeaderCap = 64 * 1024;

// Who is asking, on every request: servers and CDNs may refuse a request without it.
constexpr char kUserAgent[] = "Vantrel/1.0";

// What the callbacks of one GET share.
struct Transfer {
    OutputFile* out = nullptr;
    std::string urlPath;
    std::uint64_t cap = 0;
    std::uint64_t written = 0;
    std::size_t headerBytes = 0;  // interim answers' headers included
    ResponseCheck check;
    std::optional<Failure> own;  // a failure the callbacks decided on
    bool connected = false;
    bool receivedAnything = false;
    Clock::time_point lastByte = Clock::now();
    char error[CURL_ERROR_SIZE] = {};  // libcurl's own words for a failure
    std::string location;              // a "Location" header's value, to tell where a redirect led
};

void MarkActivity(Transfer& t) {
    t.receivedAnything = true;
    t.lastByte = Clock::now();
}

Failure RefusedAnswer(const Transfer& t) {
    Failure f;
    f.urlPath = t.urlPath;
    if (t.check.Malformed()) {
        f.kind = FailureKind::NotUnderstood;
    } else if (t.check.NotWholeFile()) {
        f.kind = FailureKind::NotAChart;
    } else {
        f.kind = FailureKind::HttpStatus;
        f.status = t.check.Status();
        // Only a 2xx needs "Location" to say why it was refused.
        f.redirect = f.status / 100 == 2 && t.check.HasLocation();
    }
    return f;
}

std::string Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    MarkActivity(t);
    t.headerBytes += n;
    if (t.headerBytes > kHeaderCap) {
        t.own = MakeFailure(FailureKind::NotUnderstood, t.urlPath);
        return 0;
    }
    const std::string_view line(data, n);
    if (chart::ascii::StartsWithNoCase(line, "location:")) t.location = Trimmed(line.substr(9));
    if (t.check.OnHeaderLine(line) == ResponseCheck::Verdict::Refuse) {
        if (!t.own) t.own = RefusedAnswer(t);
        return 0;  // aborts the transfer before any body byte
    }
    return n;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    MarkActivity(t);
    if (t.check.Current() != ResponseCheck::Verdict::Accept) {
        t.own = MakeFailure(FailureKind::NotUnderstood, t.urlPath);
        return 0;
    }
    if (n > t.cap - t.written) {
        t.own = MakeFailure(FailureKind::TooLarge, t.urlPath);
        t.own->limit = t.cap;
        return 0;
    }
    if (auto failure = t.out->Write(data, n)) {
        t.own = std::move(*failure);
        return 0;
    }
    t.written += n;
    return n;
}

// Called once connected (TLS included), just before the request goes out:
// from here the stall clock runs instead of the connect timeout.
int OnConnected(void* user, char*, char*, int, int) {
    auto& t = *static_cast<Transfer*>(user);
    t.connected = true;
    t.lastByte = Clock::now();
    return CURL_PREREQFUNC_OK;
}

std::string HostOf(const std::string& url) {
    const UrlHandle u(curl_url());
    char* part = nullptr;
    if (!u || curl_url_set(u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK ||
        curl_url_get(u.get(), CURLUPART_HOST, &part, 0) != CURLUE_OK) {
        return url;
    }
    const CurlString host(part);
    return host.get();
}

// A certificate refused while the connection was set up, by what was wrong
// with it: OpenSSL's verify result, or, when the chain was good and libcurl's
// own host name check refused it, the "not verified" mark libcurl leaves.
FailureKind CertificateFailure(long verifyResult) {
    switch (verifyResult) {
    case 0:   // X509_V_OK
    case 1:   // libcurl's mark: its host name check failed after a good chain
    case 62:  // X509_V_ERR_HOSTNAME_MISMATCH
    case 64:  // X509_V_ERR_IP_ADDRESS_MISMATCH
        return FailureKind::CertificateForAnotherHost;
    case 10:  // X509_V_ERR_CERT_HAS_EXPIRED
        return FailureKind::CertificateExpired;
    case 9:   // X509_V_ERR_CERT_NOT_YET_VALID
        return FailureKind::CertificateNotYetValid;
    default:  // an unknown authority, a self-signed or broken chain, ...
        return FailureKind::CertificateUntrusted;
    }
}

// The TLS library's words when the two sides share no protocol version: the
// server's alert, or its choice of one below what this client allows.
bool SpeaksOnlyAnOldTls(const char* error) {
    const std::string_view words(error);
    return words.find("protocol version") != std::string_view::npos ||
           words.find("unsupported protocol") != std::string_view::npos ||
           words.find("no protocols available") != std::string_view::npos;
}

// Where a redirect's "Location" leads from url, as a whole address; "" when
// there is none or it is no address worth showing.
std::string RedirectTarget(const std::string& url, const std::string& location) {
    constexpr std::size_t kShownCap = 300;
    const UrlHandle u(curl_url());
    char* whole = nullptr;
    if (location.empty() || !u || curl_url_set(u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK ||
        curl_url_set(u.get(), CURLUPART_URL, location.c_str(), 0) != CURLUE_OK ||
        curl_url_get(u.get(), CURLUPART_URL, &whole, 0) != CURLUE_OK) {
        return "";
    }
    const CurlString address(whole);
    const std::string shown = address.get();
    return shown.size() <= kShownCap ? shown : "";
}

// libcurl's answer to one header line longer than it accepts: "out of
// memory" up to 8.5, CURLE_TOO_LARGE (100) from 8.6 on. Compared by number, so
// that a module built against an older libcurl still knows it when run with a
// newer one.
constexpr int kCurlTooLarge = 100;
bool HeaderLineTooLong(CURLcode code, const Transfer& t) {
    return (code == CURLE_OUT_OF_MEMORY || static_cast<int>(code) == kCurlTooLarge) &&
           t.check.Current() == ResponseCheck::Verdict::Pending;  // still reading the headers
}

Failure FromCurlCode(CURLcode code, CURL* easy, const Transfer& t, const std::string& url) {
    Failure f;
    f.urlPath = t.urlPath;
    if (HeaderLineTooLong(code, t)) {
        f.kind = FailureKind::NotUnderstood;
        return f;
    }
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        f.kind = FailureKind::HostNotFound;
        f.detail = HostOf(url);
        break;
    case CURLE_COULDNT_CONNECT: {
        long osError = 0;
        curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
        f.kind = osError == ECONNREFUSED ? FailureKind::ConnectionRefused
                                         : FailureKind::ServerUnreachable;
        break;
    }
    case CURLE_OPERATION_TIMEDOUT:
        f.kind = FailureKind::NoAnswerInTime;
        break;
    case CURLE_GOT_NOTHING:
        f.kind = FailureKind::ClosedWithoutAnswer;
        break;
    case CURLE_PARTIAL_FILE:
        f.kind = FailureKind::CutShort;
        break;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        // Broken off before the answer began, or in the middle of it.
        f.kind = t.receivedAnything ? FailureKind::CutShort : FailureKind::ConnectionReset;
        break;
    case CURLE_FILESIZE_EXCEEDED:
        f.kind = FailureKind::TooLarge;
        f.limit = t.cap;
        break;
    case CURLE_PEER_FAILED_VERIFICATION: {
        long verifyResult = 0;
        curl_easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
        f.kind = CertificateFailure(verifyResult);
        break;
    }
    case CURLE_SSL_CONNECT_ERROR:
        f.kind = SpeaksOnlyAnOldTls(t.error) ? FailureKind::OldTls : FailureKind::TlsFailed;
        break;
    case CURLE_SSL_CACERT_BADFILE:
        f.kind = FailureKind::TlsFailed;
        break;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL:  // includes an answer without a status line
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_BAD_CONTENT_ENCODING:
        f.kind = FailureKind::NotUnderstood;
        break;
    default:
        f.kind = FailureKind::Other;
        f.detail = curl_easy_strerror(code);
        break;
    }
    return f;
}

}  // namespace

Result<std::unique_ptr<HttpClient>> HttpClient::Create(const HttpLimits& limits) {
    EasyHandle handle(curl_easy_init());
    MultiHandle multi(curl_multi_init());
    if (!handle || !multi) return MakeFailure(FailureKind::ClientNotCreated);
    CurlOptions options(handle.get());
    options.Set(CURLOPT_NOSIGNAL, 1L)
        // A cancel (the window closing) must not wait for a slow name lookup to end.
        .Set(CURLOPT_QUICK_EXIT, 1L)
        .Set(CURLOPT_HTTPGET, 1L)
        .Set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1))
        .Set(CURLOPT_PROTOCOLS_STR, "http,https")
        .Set(CURLOPT_FOLLOWLOCATION, 0L)
        .Set(CURLOPT_PROXY, "")  // never a proxy from the environment
        .Set(CURLOPT_HTTP_CONTENT_DECODING, 0L)  // bodies byte for byte
        .Set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()))
        .Set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.bodyCap))
        .Set(CURLOPT_HEADERFUNCTION, &OnHeader)
        .Set(CURLOPT_WRITEFUNCTION, &OnBody)
        .Set(CURLOPT_PREREQFUNCTION, &OnConnected)
        .Set(CURLOPT_USERAGENT, kUserAgent)
        // Nothing older than TLS 1.2; the certificate and its host name are checked.
        .Set(CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2))
        .Set(CURLOPT_SSL_VERIFYPEER, 1L)
        .Set(CURLOPT_SSL_VERIFYHOST, 2L);
    if (!limits.caFile.empty()) options.Set(CURLOPT_CAINFO, limits.caFile.c_str());
    if (options.Refusal()) return *options.Refusal();
    return std::unique_ptr<HttpClient>(new HttpClient(std::move(handle), std::move(multi), limits));
}

HttpClient::HttpClient(EasyHandle easy, MultiHandle multi, const HttpLimits& limits)
    : easy_(std::move(easy)), multi_(std::move(multi)), limits_(limits) {}

std::optional<Failure> HttpClient::Get(const std::string& url, const std::string& urlPath,
                                       OutputFile& out, std::stop_token stop) {
    CURL* easy = easy_.get();
    CURLM* multi = multi_.get();

    Transfer t;
    t.out = &out;
    t.urlPath = urlPath;
    t.cap = limits_.bodyCap;
    CurlOptions options(easy);
    options.Set(CURLOPT_URL, url.c_str())
        .Set(CURLOPT_HEADERDATA, &t)
        .Set(CURLOPT_WRITEDATA, &t)
        .Set(CURLOPT_PREREQDATA, &t)
        .Set(CURLOPT_ERRORBUFFER, t.error);
    if (options.Refusal()) {
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);
        return options.Refusal();
    }

    if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);
        return MakeFailure(FailureKind::ClientNotCreated, urlPath);
    }

    std::optional<Failure> stopped;  // cancelled or stalled: decided here, not by libcurl
    CURLcode result = CURLE_OK;
    bool done = false;
    while (!done) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done) break;
        if (stop.stop_requested()) {
            stopped = MakeFailure(FailureKind::Cancelled, urlPath);
            break;
        }
        const auto now = Clock::now();
        if ((t.connected && now - t.lastByte > limits_.stallTimeout) || now >= limits_.deadline) {
            stopped = MakeFailure(FailureKind::NoAnswerInTime, urlPath);
            break;
        }
        curl_multi_poll(multi, nullptr, 0, kPollSliceMs, nullptr);
    }
    curl_multi_remove_handle(multi, easy);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);  // t goes with this call

    if (stopped) return stopped;
    if (t.own) {
        if (t.own->kind == FailureKind::HttpStatus && t.own->status / 100 == 3) {
            t.own->detail = RedirectTarget(url, t.location);  // told, never followed
        }
        return t.own;
    }
    if (result != CURLE_OK) return FromCurlCode(result, easy, t, url);
    if (t.check.Current() != ResponseCheck::Verdict::Accept) {
        return MakeFailure(FailureKind::NotUnderstood, urlPath);
    }
    return std::nullopt;
}

}  // namespace update
