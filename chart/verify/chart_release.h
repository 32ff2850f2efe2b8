#pragma once
// When three signed files are one release of the chart, as its publisher made
// it. No I/O here: the update and the publisher's tool ask the same, and tell
// a refusal in the same words.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "chart/verify/signature_check.h"

namespace chart {

// How far a release may be dated ahead of the reader's clock (clocks and time
// zones set a little wrong), in seconds.
inline constexpr std::uint64_t kReleaseClockSlack = 24 * 60 * 60;

struct ReleaseRefusal {
    enum class Kind { NotSigned, MixedRelease, FutureChart, OlderChart };
    Kind kind;
    std::size_t file = 0;  // NotSigned: the first file (ChartFileIndex) not signed as it must be
};

// One release: each signature valid and prehashed ("ED": the legacy
// algorithm's bytes are not covered by the global signature, so a file's hash
// could pass for a file), each naming its own file in its trusted comment
// ("file:data.dat", ...), all three with one "timestamp:", no more than a day
// ahead of the reader's clock, and not earlier than the kept release.
// signatures: the three files' checks, in the order of kChartFileTable.
// Nothing when they are one release, not older than keptRelease.
std::optional<ReleaseRefusal> CheckRelease(std::span<const SignatureCheck> signatures,
                                           std::optional<std::uint64_t> keptRelease, std::uint64_t now);

// The kept release's timestamp: the latest among the kept signatures that
// still sign the files beside them (of either algorithm: they were accepted
// once); nothing when none does.
std::optional<std::uint64_t> KeptRelease(std::span<const SignatureCheck> kept);

// Every message of a failed update begins so.
inline constexpr const char* kUpdateFailedPrefix = "The update failed: ";

// Why the update refuses, in the words readers are told after the prefix
// ("the chart is not signed by its publisher.").
const char* RefusalReason(ReleaseRefusal::Kind kind);

}  // namespace chart
