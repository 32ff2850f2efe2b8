#include "publisher/signature_findings.h"

#include "chart/files/file_bytes.h"
#include "chart/files/chart_file_set.h"
#include "chart/verify/chart_release.h"
#include "chart/verify/sodium_primitives.h"

namespace publisher {
namespace {

// The line of a signature file that holds its trusted comment.
constexpr long long kTrustedCommentLine = 3;

// A signature file is never much more than minisign's trusted comment of at
// most 8 KiB.
constexpr std::size_t kSignatureFileCap = 16 * 1024;

std::string ReadersSee(chart::ReleaseRefusal::Kind kind) {
    return std::string("readers see \"") + chart::kUpdateFailedPrefix + chart::RefusalReason(kind) + "\"";
}

// Why the viewer refuses this one signature, or nothing.
std::optional<std::pair<long long, std::string>> SignatureFault(const chart::SignatureCheck& check,
                                                                const std::string& servedName,
                                                                const std::string& fileName) {
    if (!check.valid) {
        return std::pair(0LL, "does not verify with this key (made with another key, or " + fileName +
                                  " changed after signing)");
    }
    if (!check.prehashed) return std::pair(0LL, std::string("a legacy signature (minisign -l): only prehashed ones are taken"));
    if (check.file != servedName) {
        return std::pair(kTrustedCommentLine, "the trusted comment names " +
                                                  (check.file ? Quoted(*check.file) : std::string("no file")) +
                                                  ", not '" + servedName + "'");
    }
    if (!check.timestamp) return std::pair(kTrustedCommentLine, std::string("the trusted comment has no timestamp"));
    return std::nullopt;
}

}  // namespace

std::vector<Finding> FindSignatureFaults(const PublisherFolder& folder,
                                         const std::array<std::optional<std::string>, PublisherFolder::kFiles>& bytes,
                                         const std::string& publicKey, std::uint64_t now) {
    std::vector<Finding> findings;
    std::array<chart::SignatureCheck, PublisherFolder::kFiles> checks{};
    const std::string notSigned = ReadersSee(chart::ReleaseRefusal::Kind::NotSigned);
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        const std::string servedName = chart::kChartFileTable[file].Served();
        const std::string signatureName = folder.Name(file) + ".minisig";
        if (!folder.SignatureName(file)) {
            findings.push_back({signatureName, 0, Severity::Error, "missing: " + notSigned});
            continue;
        }
        std::string signature;
        try {
            signature = chart::ReadFileBytes(folder.Directory() + "/" + signatureName, kSignatureFileCap);
        } catch (const std::exception& failure) {
            findings.push_back({signatureName, 0, Severity::Error,
                                std::string("cannot be read (") + failure.what() + "): " + notSigned});
            continue;
        }
        if (!bytes[file]) continue;  // the file's own finding says why
        checks[file] = chart::CheckMinisign(*chart::SodiumPrimitives::Get(), publicKey, *bytes[file], signature);
        if (const auto fault = SignatureFault(checks[file], servedName, folder.Name(file))) {
            findings.push_back({signatureName, fault->first, Severity::Error, fault->second + ": " + notSigned});
        }
    }
    if (!findings.empty()) return findings;
    // Each signature is good on its own: are the three one release?
    if (const auto refused = chart::CheckRelease(checks, std::nullopt, now)) {
        std::string dates;
        for (const auto& check : checks) dates += (dates.empty() ? "" : ", ") + std::to_string(*check.timestamp);
        findings.push_back({folder.Name(0) + ".minisig", kTrustedCommentLine, Severity::Error,
                            "the signatures' timestamps are " + dates + ": " + ReadersSee(refused->kind)});
    }
    return findings;
}

}  // namespace publisher
