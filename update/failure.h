#pragma once
// Why an update failed, and the one message the user is shown for it.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "chart/verify/chart_release.h"
#include "folder/folder_failure.h"

namespace update {

enum class FailureKind {
    Cancelled,            // the window is closing; nothing is shown
    ClientNotCreated,     // libcurl could not be set up; detail: what could not be loaded
    ModuleDamaged,        // detail: the HTTP module's path; the file lacks part of what it maps
    NoProgramFolder,      // detail: the HTTP module's name; the executable's folder is not known
    OptionRefused,        // detail: the libcurl option the installed libcurl refuses
    HostNotFound,         // detail: the host name
    ConnectionRefused,
    ServerUnreachable,
    NoAnswerInTime,
    ClosedWithoutAnswer,
    ConnectionReset,
    HttpStatus,           // status (and redirect when a 2xx carried "Location"); detail: where a 3xx led
    CertificateUntrusted,      // the data server's certificate is not from a trusted authority
    CertificateForAnotherHost,
    CertificateExpired,
    CertificateNotYetValid,
    OldTls,               // the data server speaks no TLS version from 1.2 on
    TlsFailed,            // no secure connection for another reason
    NotUnderstood,
    CutShort,
    TooLarge,             // limit: the cap in bytes
    WriteFailed,          // detail: the path; error: errno
    ReadFailed,           // detail: the path; error: errno
    FolderNotWritable,    // detail: the chart folder; error: errno (read-only, no permission)
    NotAFile,             // detail: a chart file's path that holds no file a chart can replace
    NotAChart,            // the answers were no chart (a web page, compressed, partial, empty); detail: the rule
    AnotherCopyUpdating,  // the chart folder's update lock is held elsewhere
    NotSigned,            // a file's signature is missing, malformed, of another key or of other bytes
    OlderChart,           // signed, but older than the chart the user has
    MixedRelease,         // each file signed, but not with one release's timestamp
    FutureChart,          // signed with a timestamp more than a day ahead of the clock
    Other,                // detail: libcurl's own words
    NameTaken,            // detail: a work file's path held by something the user cannot remove
    MarkerDamaged,        // detail: the path of a commit or roll-back marker that is not whole
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

inline Failure ReadFailure(std::string path, int error) {
    Failure f = MakeFailure(FailureKind::ReadFailed);
    f.detail = std::move(path);
    f.error = error;
    return f;
}

// What every step of an update that makes something answers: the thing made,
// or why it could not be made. (A step that makes nothing answers
// std::optional<Failure>: nothing when it succeeded.)
template <typename T>
using Result = folder::ResultOf<T, Failure>;

// The chart folder's failures (the folder module's) as the update's: the one
// place they cross; their words stay the folder module's.
Failure FromFolder(const folder::Failure& failure);
std::optional<Failure> FromFolder(const std::optional<folder::Failure>& failure);

// A signed chart refused by the release rules.
Failure ReleaseFailure(const chart::ReleaseRefusal& refusal);

// Starts with "The update failed: " and says why in plain words.
std::string FailureMessage(const Failure& failure);

}  // namespace update
