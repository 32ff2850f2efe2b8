#pragma once
// When three signed files are one release of the chart, as its publisher made
// it: each signature valid and prehashed ("ED": the legacy algorithm's bytes
// are not covered by the global signature, so a file's hash could pass for a
// file), each naming its own file in its trusted comment ("file:data.dat",
// ...), all three with the same "timestamp:", and that no more than a day
// ahead of the reader's clock. A release is older than the kept one when its
// timestamp is earlier. No I/O here: the publisher's tool asks the same.
#include <cstdint>
#include <optional>
#include <span>

#include "update/failure.h"
#include "update/http/signature_check.h"

namespace update {

// How far a release may be dated ahead of the reader's clock (clocks and time
// zones set a little wrong), in seconds.
inline constexpr std::uint64_t kReleaseClockSlack = 24 * 60 * 60;

// signatures: the staged files' checks, in the order of kChartFiles. Nothing
// when they are one release, not older than keptRelease; otherwise NotSigned,
// MixedRelease, FutureChart or OlderChart.
[[nodiscard]] std::optional<Failure> CheckRelease(std::span<const SignatureCheck> signatures,
                                                  std::optional<std::uint64_t> keptRelease, std::uint64_t now);

// The kept release's timestamp: the latest among the kept signatures that
// still sign the files beside them (of either algorithm: they were accepted
// once); nothing when none does.
std::optional<std::uint64_t> KeptRelease(std::span<const SignatureCheck> kept);

}  // namespace update
