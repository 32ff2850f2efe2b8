#pragma once
// Loads the HTTP module (the client with libcurl and its chain) the first
// time an update needs it, from the executable's own folder, and keeps it
// loaded until the process ends.
#include <memory>
#include <string>

#include "update/http_transport.h"

namespace update {

class HttpModule {
public:
    // A new client, or nullptr. whyNot then holds the loader's own words when
    // the module or a library it needs cannot be loaded (they name the file),
    // and is empty when libcurl could not be set up.
    static std::unique_ptr<HttpTransport> CreateClient(const HttpLimits& limits,
                                                       std::string& whyNot);

    // The module's path: the executable's folder and kHttpModuleFileName.
    static std::string Path();
};

}  // namespace update
