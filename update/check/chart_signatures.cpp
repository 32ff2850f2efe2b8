// A signed chart's signatures read from the folder and checked as one release.
#include "update/check/chart_signatures.h"

#include <array>
#include <cerrno>

#include "chart/files/chart_file_set.h"
#include "chart/files/file_bytes.h"
#include "chart/files/file_error.h"
#include "chart/verify/chart_release.h"

namespace update {
namespace {

// A kept chart file as the viewer reads it (a link of the user's own to it
// included); nothing when the viewer could not read it either (missing,
// unreadable, too large): no kept release to be newer than. Anything else
// the read raises goes on to the run's guard.
std::optional<std::string> KeptChartFile(const std::string& path) {
    try {
        return chart::ReadFileBytes(path, chart::kChartFileSizeCap);
    } catch (const chart::FileError&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<Failure> CheckStagedSignatures(const chart::MinisignPrimitives& primitives, const folder::WorkFiles& folder,
                                             const StagedChart& stagedChart, const std::string& publicKey,
                                             std::uint64_t now) {
    using folder::ChartFile, folder::kChartFiles, folder::kSignatureFiles;
    std::array<chart::SignatureCheck, kChartFiles.size()> staged{};
    std::array<chart::SignatureCheck, kChartFiles.size()> kept{};
    for (std::size_t i = 0; i < kChartFiles.size(); ++i) {
        const ChartFile& file = kChartFiles[i];
        const ChartFile& signature = kSignatureFiles[i];
        // A signature far larger than minisign writes is none.
        auto signatureBytes = folder.ReadOwnFile(folder.Staging(signature), kSignatureFileCap);
        if (!signatureBytes && signatureBytes.Why().error != EFBIG) return FromFolder(signatureBytes.Why());
        if (!signatureBytes || !*signatureBytes) return MakeFailure(FailureKind::NotSigned, file.urlPath);
        staged[i] = chart::CheckMinisign(primitives, publicKey, stagedChart.Bytes(file.name), **signatureBytes);

        auto keptSignature = folder.ReadOwnFile(folder.Target(signature), kSignatureFileCap);
        if (!keptSignature && keptSignature.Why().error != EFBIG) return FromFolder(keptSignature.Why());
        const auto keptBytes =
            keptSignature && *keptSignature ? KeptChartFile(folder.Target(file)) : std::nullopt;
        if (keptBytes) kept[i] = chart::CheckMinisign(primitives, publicKey, *keptBytes, **keptSignature);
    }
    const auto refused = chart::CheckRelease(staged, chart::KeptRelease(kept), now);
    if (!refused) return std::nullopt;
    return ReleaseFailure(*refused);
}

}  // namespace update
