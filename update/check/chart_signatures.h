#pragma once
// A signed chart: each chart file comes with its publisher's minisign
// signature, and only one release its publisher signed, no older than the
// kept one, is put in place.
#include <cstdint>
#include <optional>
#include <string>

#include "chart/verify/minisign.h"
#include "update/check/staged_chart_check.h"
#include "update/failure.h"
#include "folder/work_files.h"

namespace update {

// The accepted signatures are kept beside the chart ("data.minisig", ...),
// staged and committed with it in one set (StagedSet), so the next update can
// refuse a correctly signed release older than this one (an old chart replayed
// by someone between the user and the data server).
// A signature file is never much more than minisign's trusted comment of at
// most 8 KiB.
inline constexpr std::size_t kSignatureFileCap = 16 * 1024;

// Checks the staged chart (its files as read once, ReadStagedChart) and the
// staged signatures in the folder as one release against the kept one, with
// minisign's functions from the HTTP module; now: the reader's clock (seconds
// since the epoch). Every file is read as the folder's work files are: a kept
// signature that is anything but the user's own regular file fails the run
// naming the folder.
[[nodiscard]] std::optional<Failure> CheckStagedSignatures(const chart::MinisignPrimitives& primitives,
                                                           const folder::WorkFiles& folder, const StagedChart& staged,
                                                           const std::string& publicKey, std::uint64_t now);

}  // namespace update
