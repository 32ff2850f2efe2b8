#pragma once
// What a file's minisign signature says once checked with the publisher's key.
#include <cstdint>
#include <optional>

namespace update {

struct SignatureCheck {
    // The signature file is well formed, made with the key (its key id
    // matches), signs the file's bytes, and its global signature covers the
    // trusted comment.
    bool valid = false;
    // The trusted comment's "timestamp:" (seconds), when valid and present.
    std::optional<std::uint64_t> timestamp;
};

}  // namespace update
