#include "update/check/chart_signatures.h"

#include "chart/files/local_path.h"

namespace update {

std::optional<Failure> CheckStagedSignatures(const HttpTransport& checker, const std::string& directory,
                                             const std::string& publicKey) {
    for (std::size_t i = 0; i < kChartFiles.size(); ++i) {
        const ChartFile& file = kChartFiles[i];
        const ChartFile& signature = kSignatureFiles[i];
        const SignatureCheck staged = checker.CheckSignature(
            publicKey, StagingPath(directory, file), StagingPath(directory, signature));
        // Without a date the chart could not be told from an older one.
        if (!staged.valid || !staged.timestamp) return MakeFailure(FailureKind::NotSigned, file.urlPath);
        const SignatureCheck kept = checker.CheckSignature(
            publicKey, chart::LocalPath(directory, file.name), chart::LocalPath(directory, signature.name));
        if (kept.valid && kept.timestamp && *staged.timestamp < *kept.timestamp) {
            return MakeFailure(FailureKind::OlderChart, file.urlPath);
        }
    }
    return std::nullopt;
}

}  // namespace update
