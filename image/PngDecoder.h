#pragma once
// Reads PNG data through libspng into 8-bit RGBA rows: palette and grey are
// expanded, a tRNS chunk becomes an alpha channel, 16-bit samples keep their
// high byte, interlaced images are read in all passes, and no gamma or
// background is applied.

#include "image/Codec.h"

namespace th::image {

class PngDecoder final : public Decoder {
public:
    std::uint32_t tag() const override { return kCodecPng; }
    [[nodiscard]] Probe probe(std::span<const std::uint8_t> data, const DecodeLimits& limits) const override;
};

} // namespace th::image
