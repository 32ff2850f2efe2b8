// What a signed viewer makes of the chart's signatures.
#include "publisher/signature_findings.h"

#include <array>
#include <optional>

#include "chart/files/chart_file_set.h"
#include "chart/verify/chart_release.h"
#include "chart/verify/sodium_primitives.h"
#include "publisher/release_date.h"

namespace publisher {
namespace {

// The line of a signature file that holds its trusted comment.
constexpr long long kTrustedCommentLine = 3;
// A signature file is never much more than minisign's trusted comment of at
// most 8 KiB.
constexpr std::uint64_t kSignatureFileCap = 16 * 1024;

std::string ReadersSee(chart::ReleaseRefusal::Kind kind) {
    return std::string("readers see \"") + chart::kUpdateFailedPrefix + chart::RefusalReason(kind) + "\"";
}

// Why the viewer refuses this one signature, or nothing.
std::optional<std::pair<long long, std::string>> SignatureFault(const chart::SignatureCheck& check,
                                                                const std::string& servedName,
                                                                const std::string& fileName) {
    using Fault = chart::SignatureCheck::Fault;
    switch (check.fault) {
    case Fault::None: break;
    case Fault::NotASignature:
        return std::pair(0LL, std::string("is not a minisign signature (its four lines: an untrusted comment, the "
                                          "signature, the trusted comment, the global signature)"));
    case Fault::AnotherKey: return std::pair(0LL, std::string("was made with another key"));
    case Fault::Mismatch:
        return std::pair(0LL, "does not verify with this key: " + fileName + " changed after signing, or the "
                                  "signature did");
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

void FindSignatureFaults(CheckedChart& chart, const PublisherFolder& folder, const std::string& publicKey,
                         std::uint64_t now, std::optional<std::uint64_t> served) {
    const auto* primitives = chart::SodiumPrimitives::Get();
    const std::string notSigned = ReadersSee(chart::ReleaseRefusal::Kind::NotSigned);
    const auto add = [&](const std::string& file, long long line, std::string message) {
        chart.findings.Add("signature", {file, line, Severity::Error, std::move(message)});
    };
    if (!primitives) {
        add(folder.SignatureName(kData), 0, "cannot be checked: libsodium cannot be set up");
        return;
    }
    std::array<chart::SignatureCheck, PublisherFolder::kFiles> checks{};
    bool allGood = true;
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        const std::string servedName = chart::kChartFileTable[file].Served();
        const std::string signatureName = folder.SignatureName(file);
        const FileRead signature = ReadBounded(folder.SignaturePath(file), kSignatureFileCap);
        allGood = allGood && signature.bytes && chart.bytes[file];
        if (!signature.bytes) {
            add(signatureName, 0,
                (signature.why == "no such file" ? std::string("missing") : "cannot be read (" + signature.why + ")") +
                    ": " + notSigned);
            continue;
        }
        if (signature.bytes->empty()) {
            add(signatureName, 0, "is empty: " + notSigned);
            allGood = false;
            continue;
        }
        if (!chart.bytes[file]) continue;  // the file's own finding says why
        checks[file] = chart::CheckMinisign(*primitives, publicKey, *chart.bytes[file], *signature.bytes);
        if (const auto fault = SignatureFault(checks[file], servedName, folder.Name(file))) {
            add(signatureName, fault->first, fault->second + ": " + notSigned);
            allGood = false;
        }
    }
    if (!allGood) return;
    // Each signature is good on its own: are the three one release?
    if (const auto refused = chart::CheckRelease(checks, std::nullopt, now)) {
        std::string dates;
        for (const auto& check : checks) dates += (dates.empty() ? "" : ", ") + std::to_string(check.timestamp.value_or(0));
        add(folder.SignatureName(kData), kTrustedCommentLine,
            "the signatures' timestamps are " + dates + ": " + ReadersSee(refused->kind));
        return;
    }
    // One release readers take: its date beside the clock and the served release.
    for (const TimelineNote& note : JudgeRelease(*checks[kData].timestamp, served, now, false))
        chart.findings.Add(note.severity == Severity::Error ? "release-date" : "release-date-told",
                           {folder.SignatureName(kData), kTrustedCommentLine, note.severity,
                            "the release is " + note.message});
}

}  // namespace publisher
