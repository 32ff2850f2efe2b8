#pragma once
// minisign's functions from libsodium: for the HTTP module (which the viewer
// loads only to update) and the publisher's tool, never the viewer's start.
#include "chart/verify/minisign.h"

namespace chart {

class SodiumPrimitives : public MinisignPrimitives {
public:
    // The one instance; nothing when libsodium cannot be set up.
    static const SodiumPrimitives* Get();

    std::optional<std::vector<unsigned char>> DecodeBase64(std::string_view text, std::size_t size) const override;
    std::array<unsigned char, 64> Blake2b512(std::string_view bytes) const override;
    bool VerifyEd25519(const unsigned char* signature, std::string_view message,
                       const unsigned char* publicKey) const override;

private:
    SodiumPrimitives() = default;
};

}  // namespace chart
