#include "curl_global.h"

#include <curl/curl.h>

namespace update {

bool GlobalInit() {
    // Never cleaned up: the process ends with it.
    static const bool ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ok;
}

}  // namespace update
