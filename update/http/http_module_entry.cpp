// The HTTP module's two exported functions (see http_transport.h). Everything
// else in the module, libcurl's and libsodium's use included, stays hidden
// inside it.
#include <type_traits>

#include "update/http/curl_global.h"
#include "update/http/http_client.h"
#include "chart/verify/sodium_primitives.h"

extern "C" __attribute__((visibility("default"))) update::HttpTransport*
vantrel_http_client_create(int interfaceVersion, const update::HttpLimits* limits,
                           update::Failure* failure) {
    static_assert(std::is_same_v<decltype(&vantrel_http_client_create), update::HttpModuleEntry>);
    // A caller built against another interface: its Failure may not be ours.
    if (interfaceVersion != update::kHttpInterfaceVersion || !limits || !failure) return nullptr;
    if (!update::GlobalInit()) {
        *failure = update::MakeFailure(update::FailureKind::ClientNotCreated);
        return nullptr;
    }
    auto client = update::HttpClient::Create(*limits);
    if (!client) {
        *failure = client.Why();
        return nullptr;
    }
    return client->release();
}

extern "C" __attribute__((visibility("default"))) const chart::MinisignPrimitives*
vantrel_minisign_primitives(int interfaceVersion) {
    static_assert(std::is_same_v<decltype(&vantrel_minisign_primitives), update::MinisignEntry>);
    if (interfaceVersion != update::kHttpInterfaceVersion) return nullptr;
    return chart::SodiumPrimitives::Get();
}
