// Loads the HTTP module once, the first time an update needs it.
#include "update/http_module.h"

#include <dlfcn.h>

#include "chart/files/local_path.h"
#include "update/module_file_check.h"

namespace update {
namespace {

std::string ProgramModulePath() {
    const auto directory = chart::ExecutableDirectory();
    return directory ? chart::LocalPath(*directory, kHttpModuleFileName) : std::string();
}

// The loader's words for a failed dlopen or dlsym (they name the file).
Failure LoaderFailure(const std::string& fallback) {
    Failure failure = MakeFailure(FailureKind::ClientNotCreated);
    const char* error = dlerror();
    failure.detail = error ? error : fallback;
    return failure;
}

}  // namespace

HttpModule::HttpModule(std::string path) : path_(std::move(path)) {}

HttpModule& HttpModule::Program() {
    static HttpModule module(ProgramModulePath());
    return module;
}

std::optional<Failure> HttpModule::Load() {
    if (entry_ && minisignEntry_) return std::nullopt;
    if (path_.empty()) {
        Failure failure = MakeFailure(FailureKind::NoProgramFolder);
        failure.detail = kHttpModuleFileName;
        return failure;
    }
    if (auto damaged = CheckModuleIsWhole(path_)) return *damaged;
    // Never closed: libcurl keeps process-wide state once set up.
    void* handle = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return LoaderFailure(path_ + ": cannot be loaded");
    auto* entry = reinterpret_cast<HttpModuleEntry>(dlsym(handle, kHttpModuleEntryName));
    if (!entry) return LoaderFailure(path_ + ": " + kHttpModuleEntryName + " not found");
    auto* minisignEntry = reinterpret_cast<MinisignEntry>(dlsym(handle, kMinisignEntryName));
    if (!minisignEntry) return LoaderFailure(path_ + ": " + kMinisignEntryName + " not found");
    entry_ = entry;
    minisignEntry_ = minisignEntry;
    return std::nullopt;
}

Result<std::unique_ptr<HttpTransport>> HttpModule::CreateClient(const HttpLimits& limits) {
    HttpModuleEntry entry = nullptr;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (auto failure = Load()) return *failure;
        entry = entry_;
    }
    // A module of another interface version leaves this as it is.
    Failure failure = MakeFailure(FailureKind::ClientNotCreated);
    std::unique_ptr<HttpTransport> client(entry(kHttpInterfaceVersion, &limits, &failure));
    if (!client) return failure;
    return client;
}

Result<const chart::MinisignPrimitives*> HttpModule::Primitives() {
    MinisignEntry entry = nullptr;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (auto failure = Load()) return *failure;
        entry = minisignEntry_;
    }
    const chart::MinisignPrimitives* primitives = entry(kHttpInterfaceVersion);
    if (!primitives) {
        Failure failure = MakeFailure(FailureKind::ClientNotCreated);
        failure.detail = "libsodium";
        return failure;
    }
    return primitives;
}

}  // namespace update
