#pragma once
// Sets the options of one easy handle and keeps the first one libcurl refuses.
// Built into the HTTP module only.
#include <curl/curl.h>

#include <optional>
#include <string>

#include "update/failure.h"

namespace update {

class CurlOptions {
public:
    explicit CurlOptions(CURL* easy) : easy_(easy) {}

    // After a refusal the remaining options are not set.
    template <typename Value>
    CurlOptions& Set(CURLoption option, Value value) {
        if (!refused_ && curl_easy_setopt(easy_, option, value) != CURLE_OK) refused_ = Refused(option);
        return *this;
    }

    // The OptionRefused failure of the first option refused, if any. Every
    // option set is one the download relies on, so a libcurl that refuses one
    // (older, or built without it) must not download under other rules.
    const std::optional<Failure>& Refusal() const { return refused_; }

private:
    static Failure Refused(CURLoption option) {
        Failure failure = MakeFailure(FailureKind::OptionRefused);
        const curl_easyoption* known = curl_easy_option_by_id(option);
        failure.detail = known ? std::string("CURLOPT_") + known->name : "number " + std::to_string(option);
        return failure;
    }

    CURL* easy_;
    std::optional<Failure> refused_;
};

}  // namespace update
