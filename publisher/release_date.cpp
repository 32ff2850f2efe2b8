// A release's date from its signatures, judged beside the clock and the served release.
#include "publisher/release_date.h"

#include <array>
#include <chrono>
#include <ctime>

#include "chart/verify/chart_release.h"
#include "chart/verify/minisign.h"
#include "chart/verify/sodium_primitives.h"

namespace publisher {
namespace {

// A signature file is never much more than minisign's trusted comment of at
// most 8 KiB.
constexpr std::uint64_t kSignatureFileCap = 16 * 1024;

std::string ReadersSee(chart::ReleaseRefusal::Kind kind) {
    return std::string("\"") + chart::kUpdateFailedPrefix + chart::RefusalReason(kind) + "\"";
}

// "23 hours", "6 minutes", "2 days".
std::string Span(std::uint64_t seconds) {
    const auto said = [](std::uint64_t count, const char* unit) {
        return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
    };
    if (seconds >= 2 * 24 * 3600) return said(seconds / (24 * 3600), "day");
    if (seconds >= 2 * 3600) return said(seconds / 3600, "hour");
    return said(seconds / 60, "minute");
}

}  // namespace

std::optional<std::uint64_t> ReleaseDate(const PublisherFolder& folder, const std::string& publicKey) {
    const auto* primitives = publicKey.empty() ? nullptr : chart::SodiumPrimitives::Get();
    std::array<chart::SignatureCheck, PublisherFolder::kFiles> checks{};
    for (std::size_t file = 0; file < PublisherFolder::kFiles; ++file) {
        const FileRead signature = ReadBounded(folder.SignaturePath(file), kSignatureFileCap);
        if (!signature.bytes) continue;
        if (primitives) {
            const FileRead bytes = folder.Read(file);
            if (bytes.bytes) checks[file] = chart::CheckMinisign(*primitives, publicKey, *bytes.bytes, *signature.bytes);
        } else if (!publicKey.empty()) {
            continue;  // no way to verify: nothing is taken on trust
        } else {
            checks[file].valid = true;
            checks[file].timestamp = chart::TrustedTimestamp(*signature.bytes);
        }
    }
    return chart::KeptRelease(checks);
}

std::string DateText(std::uint64_t timestamp) {
    const auto time = static_cast<std::time_t>(timestamp);
    std::tm parts{};
    char text[64];
    if (timestamp > static_cast<std::uint64_t>(253402300799) /* 9999-12-31 */ || !::gmtime_r(&time, &parts) ||
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts) == 0)
        return std::to_string(timestamp) + " seconds after 1970";
    return text;
}

std::vector<TimelineNote> JudgeRelease(std::uint64_t release, std::optional<std::uint64_t> served, std::uint64_t now,
                                       bool aheadBeyondSlack) {
    using Kind = chart::ReleaseRefusal::Kind;
    std::vector<TimelineNote> notes;
    const std::string dated = "dated " + DateText(release);
    if (release > now && release - now > chart::kReleaseClockSlack) {
        if (aheadBeyondSlack)
            notes.push_back({Severity::Error, dated + ", " + Span(release - now) +
                                                  " ahead of this computer's clock: readers refuse it: " +
                                                  ReadersSee(Kind::FutureChart)});
    } else if (release > now && release - now > kReleaseAheadTold) {
        notes.push_back({Severity::Warning, dated + ", " + Span(release - now) +
                                                " ahead of this computer's clock: readers who take it refuse every "
                                                "release dated before it, with " + ReadersSee(Kind::OlderChart)});
    }
    if (release < kEarliestLikelyRelease)
        notes.push_back({Severity::Warning, dated + ", before 2000: is its timestamp right? Readers who hold a "
                                                "release of the right date refuse it, with " +
                                                ReadersSee(Kind::OlderChart)});
    if (served && release < *served)
        notes.push_back({Severity::Error, dated + ", before the served release (" + DateText(*served) +
                                              "): readers who hold the served chart refuse it, with " +
                                              ReadersSee(Kind::OlderChart)});
    else if (served && release == *served)
        notes.push_back({Severity::Warning, dated + ", the very date of the served release: readers take it, but "
                                                "are these the served release's signatures? Sign the chart anew"});
    return notes;
}

std::uint64_t Now() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
}

}  // namespace publisher
