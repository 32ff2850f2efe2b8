#include "update/check/chart_release.h"

#include <algorithm>
#include <string>

#include "update/folder/chart_files.h"

namespace update {

std::optional<Failure> CheckRelease(std::span<const SignatureCheck> signatures,
                                    std::optional<std::uint64_t> keptRelease, std::uint64_t now) {
    if (signatures.size() != kChartFiles.size()) return MakeFailure(FailureKind::NotSigned);
    for (std::size_t i = 0; i < kChartFiles.size(); ++i) {
        const SignatureCheck& check = signatures[i];
        // The served name without its slash: the name minisign signs it under.
        const std::string servedName = kChartFiles[i].urlPath + 1;
        // Without a date the release could not be told from an older one.
        if (!check.valid || !check.prehashed || check.file != servedName || !check.timestamp) {
            return MakeFailure(FailureKind::NotSigned, kChartFiles[i].urlPath);
        }
    }
    const std::uint64_t release = *signatures[0].timestamp;
    for (const SignatureCheck& check : signatures) {
        if (*check.timestamp != release) return MakeFailure(FailureKind::MixedRelease);
    }
    if (release > now && release - now > kReleaseClockSlack) return MakeFailure(FailureKind::FutureChart);
    if (keptRelease && release < *keptRelease) return MakeFailure(FailureKind::OlderChart);
    return std::nullopt;
}

std::optional<std::uint64_t> KeptRelease(std::span<const SignatureCheck> kept) {
    std::optional<std::uint64_t> latest;
    for (const SignatureCheck& check : kept) {
        if (check.valid && check.timestamp) latest = std::max(latest.value_or(0), *check.timestamp);
    }
    return latest;
}

}  // namespace update
