// libcurl's process-wide set-up, done once, with SIGPIPE ignored.
#include "update/http/curl_global.h"

#include <curl/curl.h>

#include <csignal>

namespace update {
namespace {

// A write to a connection the peer has closed raises SIGPIPE, which ends the
// process. libcurl is told not to touch signals (CURLOPT_NOSIGNAL: the worker
// is one thread of many), and not every write under it (a TLS library's, for
// one) asks the kernel not to raise it; ignored, the write fails with EPIPE
// instead, and the transfer with it.
bool IgnoreBrokenPipes() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    return sigaction(SIGPIPE, &ignore, nullptr) == 0;
}

}  // namespace

bool GlobalInit() {
    // Never cleaned up: the process ends with it.
    static const bool ok = IgnoreBrokenPipes() && curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ok;
}

}  // namespace update
