#pragma once
// Why an update failed, and the one message the user is shown for it.
#include <cstdint>
#include <string>
#include <utility>

namespace update {

enum class FailureKind {
    Cancelled,            // the window is closing; nothing is shown
    ClientNotCreated,     // libcurl could not be set up; detail: what could not be loaded
    HostNotFound,         // detail: the host name
    ConnectionRefused,
    ServerUnreachable,
    NoAnswerInTime,
    ClosedWithoutAnswer,
    ConnectionReset,
    HttpStatus,           // status (and redirect when a 2xx carried "Location")
    NotUnderstood,
    CutShort,
    TooLarge,             // limit: the cap in bytes
    WriteFailed,          // detail: the path; error: errno
    NotAFile,             // detail: a chart file's path that holds no file a chart can replace
    NotAChart,            // the answers were no chart (a web page, compressed, partial, empty)
    AnotherCopyUpdating,  // the chart folder's update lock is held elsewhere
    Other,                // detail: libcurl's own words
};

struct Failure {
    FailureKind kind = FailureKind::Other;
    std::string urlPath;  // "/data.dat" etc.
    std::string detail;
    int status = 0;
    bool redirect = false;
    int error = 0;
    std::uint64_t limit = 0;
};

inline Failure MakeFailure(FailureKind kind, std::string urlPath = {}) {
    Failure f;
    f.kind = kind;
    f.urlPath = std::move(urlPath);
    return f;
}

// A file that could not be created, written or put in place.
inline Failure WriteFailure(std::string urlPath, std::string path, int error) {
    Failure f = MakeFailure(FailureKind::WriteFailed, std::move(urlPath));
    f.detail = std::move(path);
    f.error = error;
    return f;
}

// Starts with "The update failed: " and says why in plain words.
std::string FailureMessage(const Failure& failure);

}  // namespace update
