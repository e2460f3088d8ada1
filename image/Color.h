#pragma once
// Colour values: a 32-bit integer with red in bits 0-7, green 8-15, blue 16-23
// and alpha 24-31, so that on a little-endian machine its bytes are a pixel's
// bytes in memory order.

#include <cstdint>

namespace th::image {

using Colour = std::uint32_t;

// The parts are added, not masked: out-of-range parts spill into the next one.
constexpr Colour makeRgb(int r, int g, int b)
{
    return static_cast<Colour>(r + g * 256 + b * 65536);
}
constexpr Colour makeRgba(int r, int g, int b, int a)
{
    return makeRgb(r, g, b) + static_cast<Colour>(a) * 16777216u;
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 255); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 255); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 255); }
constexpr int alphaOf(Colour c) { return static_cast<int>((c >> 24) & 255); }

// One channel of a straight-alpha pixel composited onto opaque white.
constexpr std::uint8_t flattenOntoWhite(int value, int alpha)
{
    return static_cast<std::uint8_t>(((255 - alpha) * 255 + value * alpha) / 255);
}

} // namespace th::image
