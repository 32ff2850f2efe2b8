#pragma once
// libcurl's handles, each owned by a unique_ptr that releases it with the
// cleanup function libcurl gives for it. Built into the HTTP module only.
#include <curl/curl.h>

#include <memory>

namespace update {

template <auto cleanup>
struct CurlCleanup {
    template <typename Handle>
    void operator()(Handle* handle) const {
        cleanup(handle);
    }
};

using EasyHandle = std::unique_ptr<CURL, CurlCleanup<&curl_easy_cleanup>>;
using MultiHandle = std::unique_ptr<CURLM, CurlCleanup<&curl_multi_cleanup>>;
using UrlHandle = std::unique_ptr<CURLU, CurlCleanup<&curl_url_cleanup>>;
// A string libcurl has handed out.
using CurlString = std::unique_ptr<char, CurlCleanup<&curl_free>>;

}  // namespace update
