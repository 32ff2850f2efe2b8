// A file checked against its minisign signature, by minisign's documented format.
#include "chart/verify/minisign.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "chart/text/ascii.h"

namespace chart {
namespace {

constexpr std::size_t kAlgorithmBytes = 2;
constexpr std::size_t kKeyIdBytes = 8;
constexpr std::size_t kPublicKeyBytes = 32;
constexpr std::size_t kSignatureBytes = 64;
// A secret key: algorithms (2 + 2 + 2), salt (32), limits (8 + 8), then key
// id, secret key and checksum (8 + 64 + 32).
constexpr std::size_t kSecretKeyLineBytes = 158;

struct PublicKey {
    std::array<unsigned char, kKeyIdBytes> keyId{};
    std::array<unsigned char, kPublicKeyBytes> key{};
};

struct Signature {
    bool prehashed = false;
    std::array<unsigned char, kKeyIdBytes> keyId{};
    std::array<unsigned char, kSignatureBytes> signature{};
    std::string_view trustedComment;
    std::array<unsigned char, kSignatureBytes> globalSignature{};
};

std::optional<PublicKey> ParsePublicKey(const MinisignPrimitives& primitives, std::string_view line) {
    const auto bytes = primitives.DecodeBase64(line, kAlgorithmBytes + kKeyIdBytes + kPublicKeyBytes);
    if (!bytes || (*bytes)[0] != 'E' || (*bytes)[1] != 'd') return std::nullopt;
    PublicKey key;
    std::memcpy(key.keyId.data(), bytes->data() + kAlgorithmBytes, kKeyIdBytes);
    std::memcpy(key.key.data(), bytes->data() + kAlgorithmBytes + kKeyIdBytes, key.key.size());
    return key;
}

// The four lines, each without its line end (LF or CR LF); nothing may follow.
std::optional<std::array<std::string_view, 4>> SplitLines(std::string_view text) {
    std::array<std::string_view, 4> lines;
    for (auto& line : lines) {
        const std::size_t end = text.find('\n');
        line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    if (!text.empty()) return std::nullopt;
    return lines;
}

std::optional<Signature> ParseSignature(const MinisignPrimitives& primitives, std::string_view text) {
    constexpr std::string_view kUntrusted = "untrusted comment: ";
    constexpr std::string_view kTrusted = "trusted comment: ";
    const auto lines = SplitLines(text);
    if (!lines || !(*lines)[0].starts_with(kUntrusted) || !(*lines)[2].starts_with(kTrusted)) {
        return std::nullopt;
    }
    const auto signature = primitives.DecodeBase64((*lines)[1], kAlgorithmBytes + kKeyIdBytes + kSignatureBytes);
    const auto global = primitives.DecodeBase64((*lines)[3], kSignatureBytes);
    if (!signature || !global) return std::nullopt;
    Signature s;
    const std::string_view algorithm(reinterpret_cast<const char*>(signature->data()), kAlgorithmBytes);
    if (algorithm == "ED") {
        s.prehashed = true;
    } else if (algorithm != "Ed") {
        return std::nullopt;
    }
    std::memcpy(s.keyId.data(), signature->data() + kAlgorithmBytes, kKeyIdBytes);
    std::memcpy(s.signature.data(), signature->data() + kAlgorithmBytes + kKeyIdBytes, kSignatureBytes);
    s.trustedComment = (*lines)[2].substr(kTrusted.size());
    std::memcpy(s.globalSignature.data(), global->data(), kSignatureBytes);
    return s;
}

// The value of the field named `name` ("timestamp:") among the trusted
// comment's tab-separated fields.
std::optional<std::string_view> Field(std::string_view comment, std::string_view name) {
    while (!comment.empty()) {
        const std::size_t tab = comment.find('\t');
        const std::string_view field = comment.substr(0, tab);
        comment = tab == std::string_view::npos ? std::string_view() : comment.substr(tab + 1);
        if (field.starts_with(name)) return field.substr(name.size());
    }
    return std::nullopt;
}

std::optional<std::uint64_t> Timestamp(std::string_view comment) {
    const auto field = Field(comment, "timestamp:");
    if (!field || field->empty() || field->size() > 19) return std::nullopt;  // 19 digits fit 64 bits
    std::uint64_t value = 0;
    for (char c : *field) {
        if (!ascii::IsDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

}  // namespace

SignatureCheck CheckMinisign(const MinisignPrimitives& primitives, std::string_view publicKeyLine,
                             std::string_view fileBytes, std::string_view signatureBytes) {
    SignatureCheck check;
    const auto key = ParsePublicKey(primitives, publicKeyLine);
    if (!key) return check;
    const auto signature = ParseSignature(primitives, signatureBytes);
    if (!signature) return check;
    check.fault = SignatureCheck::Fault::AnotherKey;
    if (signature->keyId != key->keyId) return check;
    check.fault = SignatureCheck::Fault::Mismatch;
    std::array<unsigned char, 64> hash{};
    std::string_view signedBytes = fileBytes;
    if (signature->prehashed) {
        hash = primitives.Blake2b512(fileBytes);
        signedBytes = std::string_view(reinterpret_cast<const char*>(hash.data()), hash.size());
    }
    const std::string signedComment =
        std::string(reinterpret_cast<const char*>(signature->signature.data()), kSignatureBytes) +
        std::string(signature->trustedComment);
    if (!primitives.VerifyEd25519(signature->signature.data(), signedBytes, key->key.data()) ||
        !primitives.VerifyEd25519(signature->globalSignature.data(), signedComment, key->key.data())) {
        return check;
    }
    check.valid = true;
    check.fault = SignatureCheck::Fault::None;
    check.prehashed = signature->prehashed;
    check.timestamp = Timestamp(signature->trustedComment);
    if (const auto file = Field(signature->trustedComment, "file:")) check.file = std::string(*file);
    return check;
}

std::optional<std::uint64_t> TrustedTimestamp(std::string_view signatureBytes) {
    constexpr std::string_view kTrusted = "trusted comment: ";
    const auto lines = SplitLines(signatureBytes);
    if (!lines || !(*lines)[2].starts_with(kTrusted)) return std::nullopt;
    return Timestamp((*lines)[2].substr(kTrusted.size()));
}

bool IsEncryptedSecretKey(const MinisignPrimitives& primitives, std::string_view line) {
    const auto secret = primitives.DecodeBase64(line, kSecretKeyLineBytes);
    // After the signature algorithm, the key derivation's: "Sc" (scrypt), or
    // two zero bytes for a key kept without a password.
    return secret && (*secret)[2] == 'S' && (*secret)[3] == 'c';
}

KeyLine ClassifyKeyLine(const MinisignPrimitives& primitives, std::string_view line) {
    if (ParsePublicKey(primitives, line)) return KeyLine::PublicKey;
    const auto secret = primitives.DecodeBase64(line, kSecretKeyLineBytes);
    if (secret && (*secret)[0] == 'E' && (*secret)[1] == 'd') return KeyLine::SecretKey;
    return KeyLine::NotAKey;
}

}  // namespace chart
