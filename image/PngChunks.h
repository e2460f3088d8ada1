#pragma once
// How a PNG file lays out its chunks: a 4-byte big-endian length and a 4-byte
// type, the data, then a 4-byte CRC over the type and the data.

#include <cstddef>
#include <cstdint>

namespace th::image {

inline constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
inline constexpr std::size_t kPngSignatureBytes = sizeof kPngSignature;
inline constexpr std::size_t kChunkLengthAndType = 8; // before a chunk's data
inline constexpr std::size_t kChunkCrc = 4;           // after it

inline std::uint32_t bigEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

inline void putBigEndian32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

} // namespace th::image
