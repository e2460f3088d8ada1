#pragma once
// Reads uncompressed BMP data (1, 4, 8, 16, 24 and 32 bits a pixel) into RGB
// rows. Run-length data and other depths are accepted but deliver no rows.

#include "image/Codec.h"

namespace th::image {

class BmpDecoder final : public Decoder {
public:
    std::uint32_t tag() const override { return kCodecBmp; }
    [[nodiscard]] Probe probe(std::span<const std::uint8_t> data, const DecodeLimits& limits) const override;
};

} // namespace th::image
