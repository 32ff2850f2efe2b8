// The HTTP module's one exported function (see http_transport.h). Everything
// else in the module, libcurl's use included, stays hidden inside it.
#include <type_traits>

#include "curl_global.h"
#include "http_client.h"

extern "C" __attribute__((visibility("default"))) update::HttpTransport*
vantrel_http_client_create(int interfaceVersion, const update::HttpLimits* limits) {
    static_assert(std::is_same_v<decltype(&vantrel_http_client_create), update::HttpModuleEntry>);
    if (interfaceVersion != update::kHttpInterfaceVersion || !limits || !update::GlobalInit()) {
        return nullptr;
    }
    return update::HttpClient::Create(*limits).release();
}
