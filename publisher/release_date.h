#pragma once
// A release's date (the "timestamp:" its signatures carry) beside the reader's
// clock and the release the reader has: the slips that make a signed viewer
// refuse it, told alike by check, diff and sign.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "publisher/finding.h"
#include "publisher/publisher_folder.h"

namespace publisher {

// How far ahead of the clock a release may be dated without a word (clocks
// a little off), in seconds.
inline constexpr std::uint64_t kReleaseAheadTold = 5 * 60;
// 2000-01-01 00:00:00 UTC: a release dated before it has a wrong timestamp.
inline constexpr std::uint64_t kEarliestLikelyRelease = 946'684'800;

// The release the folder's signatures date: with a key, as a signed viewer
// dates the release it holds (the latest timestamp among the signatures that
// verify); without, as their trusted comments say, unverified. Nothing when
// no signature has a timestamp.
std::optional<std::uint64_t> ReleaseDate(const PublisherFolder& folder, const std::string& publicKey);

// "2025-06-15 15:06:40 UTC".
std::string DateText(std::uint64_t timestamp);

struct TimelineNote {
    Severity severity;
    std::string message;  // "dated …: readers …"
};

// A signed viewer refuses a release older than the one it holds, and one dated
// more than a day ahead of its clock.
// What readers make of a release dated `release`: dated far ahead of now,
// before 2000, older than the served release readers hold, or of its very
// date. aheadBeyondSlack: whether to tell a date past the day readers allow
// (check leaves that to the release's own rule).
std::vector<TimelineNote> JudgeRelease(std::uint64_t release, std::optional<std::uint64_t> served, std::uint64_t now,
                                       bool aheadBeyondSlack = true);

// Seconds since the epoch.
std::uint64_t Now();

}  // namespace publisher
