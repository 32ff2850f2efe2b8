#pragma once
// What a file's minisign signature says once checked with the publisher's key.
#include <cstdint>
#include <optional>
#include <string>

namespace chart {

struct SignatureCheck {
    // The signature file is well formed, made with the key (its key id
    // matches), signs the file's bytes, and its global signature covers the
    // trusted comment.
    bool valid = false;
    // Why it is not valid: not minisign's four lines, made with another key
    // (its key id), or it does not sign these bytes with this key.
    enum class Fault { None, NotASignature, AnotherKey, Mismatch };
    Fault fault = Fault::NotASignature;
    // Made with the prehashed algorithm ("ED"), whose algorithm bytes cannot
    // be swapped: the legacy one ("Ed") lets a file's hash pass for a file.
    bool prehashed = false;
    // The trusted comment's "timestamp:" (seconds) and "file:" (the name the
    // publisher signed the file under), when valid and present.
    std::optional<std::uint64_t> timestamp;
    std::optional<std::string> file;
};

}  // namespace chart
