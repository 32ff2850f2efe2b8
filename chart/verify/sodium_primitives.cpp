// minisign's functions from libsodium, for the HTTP module and the publisher's tool.
#include "chart/verify/sodium_primitives.h"

#include <sodium.h>

namespace chart {

static_assert(crypto_sign_BYTES == 64 && crypto_sign_PUBLICKEYBYTES == 32 && crypto_generichash_BYTES_MAX == 64);

const SodiumPrimitives* SodiumPrimitives::Get() {
    static const bool ready = sodium_init() >= 0;
    static const SodiumPrimitives primitives;
    return ready ? &primitives : nullptr;
}

std::optional<std::vector<unsigned char>> SodiumPrimitives::DecodeBase64(std::string_view text,
                                                                          std::size_t size) const {
    std::vector<unsigned char> bytes(size);
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(bytes.data(), bytes.size(), text.data(), text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0 ||
        length != size || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return bytes;
}

std::array<unsigned char, 64> SodiumPrimitives::Blake2b512(std::string_view bytes) const {
    std::array<unsigned char, 64> hash{};
    crypto_generichash(hash.data(), hash.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                       nullptr, 0);
    return hash;
}

bool SodiumPrimitives::VerifyEd25519(const unsigned char* signature, std::string_view message,
                                     const unsigned char* publicKey) const {
    return crypto_sign_verify_detached(signature, reinterpret_cast<const unsigned char*>(message.data()),
                                       message.size(), publicKey) == 0;
}

}  // namespace chart
