#pragma once
// A signed chart: with the publisher's key built in, each chart file comes
// with its minisign signature ("/data.dat.minisig" beside "/data.dat"), and
// only a chart whose three files its publisher signed is put in place. The
// accepted signatures are kept beside the chart ("data.minisig", ...), so the
// next update can refuse a correctly signed chart that is older than this one
// (an old chart replayed by someone between the user and the data server).
// They are staged and committed with the chart, in the same all-or-nothing
// set (StagedSet).
#include <optional>
#include <string>

#include "update/folder/chart_files.h"
#include "update/failure.h"
#include "update/http/http_transport.h"

namespace update {

// Refuses the staged chart (NotSigned) unless each staged file is signed by
// publicKey and its trusted comment has a "timestamp:"; refuses it
// (OlderChart) when a file's timestamp is earlier than that of the file it
// replaces, as the kept signature that still matches that file says.
[[nodiscard]] std::optional<Failure> CheckStagedSignatures(const HttpTransport& checker,
                                                           const std::string& directory,
                                                           const std::string& publicKey);

}  // namespace update
