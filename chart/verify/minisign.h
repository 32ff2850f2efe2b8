#pragma once
// A file checked against its minisign signature with the publisher's public
// key, by minisign's documented format; the functions it rests on come from
// whoever links libsodium (the HTTP module, the publisher's tool). No I/O here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "chart/verify/signature_check.h"

namespace chart {

class MinisignPrimitives {
public:
    virtual ~MinisignPrimitives() = default;
    // Exactly `size` bytes of standard base64 (padded), or nothing.
    virtual std::optional<std::vector<unsigned char>> DecodeBase64(std::string_view text, std::size_t size) const = 0;
    virtual std::array<unsigned char, 64> Blake2b512(std::string_view bytes) const = 0;
    // Whether the 64-byte Ed25519 signature signs message with the 32-byte key.
    virtual bool VerifyEd25519(const unsigned char* signature, std::string_view message,
                               const unsigned char* publicKey) const = 0;
};

// The public key line is base64("Ed" | key id (8) | Ed25519 key (32)); the
// signature file four lines: an untrusted comment, base64(algorithm (2) | key
// id (8) | signature (64)), "trusted comment: ...", base64(global signature
// (64)). "ED" signs the file's BLAKE2b-512 hash, the legacy "Ed" the file
// itself; the global signature signs the signature and the trusted comment.
SignatureCheck CheckMinisign(const MinisignPrimitives& primitives, std::string_view publicKeyLine,
                             std::string_view fileBytes, std::string_view signatureBytes);

// The trusted comment's "timestamp:" of a signature file, read without
// checking the signature (one taken before: the kept release's date).
std::optional<std::uint64_t> TrustedTimestamp(std::string_view signatureBytes);

// What a line of a key file is: minisign writes the public key as one base64
// line, and the secret key as a longer one (under an untrusted comment each).
enum class KeyLine { PublicKey, SecretKey, NotAKey };
KeyLine ClassifyKeyLine(const MinisignPrimitives& primitives, std::string_view line);
// Whether a secret key line is kept under a password (minisign asks for it
// before it signs).
bool IsEncryptedSecretKey(const MinisignPrimitives& primitives, std::string_view line);

}  // namespace chart
