#pragma once
// Loads the HTTP module (the client with libcurl and its chain) the first
// time an update needs it and keeps it loaded until the process ends. The
// program's module lies in the executable's own folder; tests load copies.
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "update/failure.h"
#include "update/http/http_transport.h"

namespace update {

class HttpModule {
public:
    // The module file at path; an empty path: its folder is not known.
    explicit HttpModule(std::string path);
    HttpModule(const HttpModule&) = delete;
    HttpModule& operator=(const HttpModule&) = delete;

    // The program's own: kHttpModuleFileName in the executable's folder.
    static HttpModule& Program();

    // A new client, or why not: the module is missing, cut short or of
    // another version (the loader's own words name the file), its folder is
    // not known, or libcurl cannot be set up as the download needs. A failed
    // load is tried again next time (the module may have been put in place
    // meanwhile).
    Result<std::unique_ptr<HttpTransport>> CreateClient(const HttpLimits& limits);
    // minisign's functions, or why not (as for CreateClient); they live as
    // long as the process.
    Result<const chart::MinisignPrimitives*> Primitives();

private:
    // The module loaded, its entries looked up; under mutex_.
    std::optional<Failure> Load();

    const std::string path_;
    std::mutex mutex_;  // loaded by whichever worker comes first
    HttpModuleEntry entry_ = nullptr;
    MinisignEntry minisignEntry_ = nullptr;
};

}  // namespace update
