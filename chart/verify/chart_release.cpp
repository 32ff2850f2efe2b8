// Whether three signed files are one release, and the words a refusal is told in.
#include "chart/verify/chart_release.h"

#include <algorithm>
#include <string_view>

#include "chart/files/chart_file_set.h"

namespace chart {

std::optional<ReleaseRefusal> CheckRelease(std::span<const SignatureCheck> signatures,
                                           std::optional<std::uint64_t> keptRelease, std::uint64_t now) {
    using Kind = ReleaseRefusal::Kind;
    if (signatures.size() != kChartFileTable.size()) return ReleaseRefusal{Kind::NotSigned};
    for (std::size_t i = 0; i < kChartFileTable.size(); ++i) {
        const SignatureCheck& check = signatures[i];
        // Without a date the release could not be told from an older one.
        if (!check.valid || !check.prehashed || check.file != std::string_view(kChartFileTable[i].Served()) ||
            !check.timestamp) {
            return ReleaseRefusal{Kind::NotSigned, i};
        }
    }
    const std::uint64_t release = *signatures[0].timestamp;
    for (const SignatureCheck& check : signatures) {
        if (*check.timestamp != release) return ReleaseRefusal{Kind::MixedRelease};
    }
    if (release > now && release - now > kReleaseClockSlack) return ReleaseRefusal{Kind::FutureChart};
    if (keptRelease && release < *keptRelease) return ReleaseRefusal{Kind::OlderChart};
    return std::nullopt;
}

std::optional<std::uint64_t> KeptRelease(std::span<const SignatureCheck> kept) {
    std::optional<std::uint64_t> latest;
    for (const SignatureCheck& check : kept) {
        if (check.valid && check.timestamp) latest = std::max(latest.value_or(0), *check.timestamp);
    }
    return latest;
}

const char* RefusalReason(ReleaseRefusal::Kind kind) {
    switch (kind) {
    case ReleaseRefusal::Kind::NotSigned:
        return "the chart is not signed by its publisher.";
    case ReleaseRefusal::Kind::MixedRelease:
        return "the chart's files are not of one release (their signatures carry different timestamps).";
    case ReleaseRefusal::Kind::FutureChart:
        return "the chart is dated in the future; check your computer's clock.";
    case ReleaseRefusal::Kind::OlderChart:
        return "the data server sent an older chart than the one you have.";
    }
    return "";
}

}  // namespace chart
