#pragma once
// A signed chart: with the publisher's key built in, each chart file comes
// with its minisign signature ("/data.dat.minisig" beside "/data.dat"), and
// only a chart whose three files its publisher signed is put in place. The
// accepted signatures are kept beside the chart ("data.minisig", ...), so the
// next update can refuse a correctly signed chart that is older than this one
// (an old chart replayed by someone between the user and the data server).
#include <array>
#include <optional>
#include <string>

#include "update/folder/chart_files.h"
#include "update/failure.h"
#include "update/http/http_transport.h"

namespace update {

// In the order of kChartFiles, each the signature of the chart file at the same place.
inline constexpr std::array<ChartFile, 3> kSignatureFiles{{
    {"/data.dat.minisig", "data.minisig"},
    {"/policy.dat.minisig", "policy.minisig"},
    {"/version.dat.minisig", "version.minisig"},
}};

// Refuses the staged chart (NotSigned) unless each staged file is signed by
// publicKey and its trusted comment has a "timestamp:"; refuses it
// (OlderChart) when a file's timestamp is earlier than that of the file it
// replaces, as the kept signature that still matches that file says.
[[nodiscard]] std::optional<Failure> CheckStagedSignatures(const HttpTransport& checker,
                                                           const std::string& directory,
                                                           const std::string& publicKey);

// After the chart's commit: puts the staged signatures beside it. Best
// effort: a signature that did not get there only leaves the next update
// without a date to compare with, as a kept signature that does not match its
// file is no date.
void KeepStagedSignatures(const std::string& directory);

// Removes staged signatures; missing ones are fine.
void RemoveStagedSignatures(const std::string& directory);

}  // namespace update
