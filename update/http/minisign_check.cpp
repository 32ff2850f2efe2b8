#include "update/http/minisign_check.h"

#include <sodium.h>

#include <array>
#include <optional>
#include <cstring>
#include <string_view>
#include <vector>

#include "chart/text/ascii.h"


namespace update {
namespace {

constexpr std::size_t kAlgorithmBytes = 2;
constexpr std::size_t kKeyIdBytes = 8;
constexpr std::size_t kSignatureBytes = crypto_sign_BYTES;
constexpr std::size_t kHashBytes = crypto_generichash_BYTES_MAX;  // BLAKE2b-512

struct PublicKey {
    std::array<unsigned char, kKeyIdBytes> keyId{};
    std::array<unsigned char, crypto_sign_PUBLICKEYBYTES> key{};
};

struct Signature {
    bool prehashed = false;
    std::array<unsigned char, kKeyIdBytes> keyId{};
    std::array<unsigned char, kSignatureBytes> signature{};
    std::string trustedComment;
    std::array<unsigned char, kSignatureBytes> globalSignature{};
};

// Exactly size bytes of standard base64, or nothing.
std::optional<std::vector<unsigned char>> DecodeBase64(std::string_view text, std::size_t size) {
    std::vector<unsigned char> bytes(size);
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(bytes.data(), bytes.size(), text.data(), text.size(), nullptr, &length,
                          &end, sodium_base64_VARIANT_ORIGINAL) != 0 ||
        length != size || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<PublicKey> ParsePublicKey(std::string_view line) {
    const auto bytes = DecodeBase64(line, kAlgorithmBytes + kKeyIdBytes + crypto_sign_PUBLICKEYBYTES);
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

std::optional<Signature> ParseSignature(std::string_view text) {
    constexpr std::string_view kUntrusted = "untrusted comment: ";
    constexpr std::string_view kTrusted = "trusted comment: ";
    const auto lines = SplitLines(text);
    if (!lines || !(*lines)[0].starts_with(kUntrusted) || !(*lines)[2].starts_with(kTrusted)) {
        return std::nullopt;
    }
    const auto signature = DecodeBase64((*lines)[1], kAlgorithmBytes + kKeyIdBytes + kSignatureBytes);
    const auto global = DecodeBase64((*lines)[3], kSignatureBytes);
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

bool Verifies(const unsigned char* signature, const std::string& message, const PublicKey& key) {
    return crypto_sign_verify_detached(signature, reinterpret_cast<const unsigned char*>(message.data()),
                                       message.size(), key.key.data()) == 0;
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
        if (!chart::ascii::IsDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

}  // namespace

SignatureCheck CheckMinisign(const std::string& publicKeyLine, const std::string& fileBytes,
                             const std::string& signatureBytes) {
    SignatureCheck check;
    if (sodium_init() < 0) return check;
    const auto key = ParsePublicKey(publicKeyLine);
    if (!key) return check;
    const auto signature = ParseSignature(signatureBytes);
    if (!signature || signature->keyId != key->keyId) return check;
    std::string signedBytes = fileBytes;
    if (signature->prehashed) {
        signedBytes.assign(kHashBytes, '\0');
        crypto_generichash(reinterpret_cast<unsigned char*>(signedBytes.data()), signedBytes.size(),
                           reinterpret_cast<const unsigned char*>(fileBytes.data()), fileBytes.size(), nullptr, 0);
    }
    const std::string signedComment =
        std::string(reinterpret_cast<const char*>(signature->signature.data()), kSignatureBytes) +
        signature->trustedComment;
    if (!Verifies(signature->signature.data(), signedBytes, *key) ||
        !Verifies(signature->globalSignature.data(), signedComment, *key)) {
        return check;
    }
    check.valid = true;
    check.prehashed = signature->prehashed;
    check.timestamp = Timestamp(signature->trustedComment);
    if (const auto file = Field(signature->trustedComment, "file:")) check.file = std::string(*file);
    return check;
}

}  // namespace update
