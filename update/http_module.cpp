#include "update/http_module.h"

#include <dlfcn.h>

#include <mutex>

#include "chart/files/local_path.h"

namespace update {
namespace {

struct LoadedModule {
    HttpModuleEntry entry = nullptr;
    std::string error;  // why entry is missing
};

LoadedModule Load() {
    LoadedModule loaded;
    const std::string path = HttpModule::Path();
    // Never closed: libcurl keeps process-wide state once set up.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        loaded.error = error ? error : path + ": cannot be loaded";
        return loaded;
    }
    loaded.entry = reinterpret_cast<HttpModuleEntry>(dlsym(handle, kHttpModuleEntryName));
    if (!loaded.entry) loaded.error = path + ": " + kHttpModuleEntryName + " not found";
    return loaded;
}

}  // namespace

std::string HttpModule::Path() {
    return chart::LocalPath(chart::ExecutableDirectory(), kHttpModuleFileName);
}

std::unique_ptr<HttpTransport> HttpModule::CreateClient(const HttpLimits& limits,
                                                        std::string& whyNot) {
    // Loaded by whichever worker comes first; a failed load is tried again by
    // the next update (the module may have been put in place meanwhile).
    static std::mutex mutex;
    static HttpModuleEntry entry = nullptr;
    HttpModuleEntry loadedEntry;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!entry) {
            LoadedModule loaded = Load();
            if (!loaded.entry) {
                whyNot = std::move(loaded.error);
                return nullptr;
            }
            entry = loaded.entry;
        }
        loadedEntry = entry;
    }
    // nullptr here: libcurl itself could not be set up (the usual message).
    whyNot.clear();
    return std::unique_ptr<HttpTransport>(loadedEntry(kHttpInterfaceVersion, &limits));
}

}  // namespace update
