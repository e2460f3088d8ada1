#pragma once
// How a PNG file lays out its chunks: a 4-byte big-endian length and a 4-byte
// type, the data, then a 4-byte CRC over the type and the data.

#include <cstddef>
#include <cstdint>

namespace th::image {

inline constexpr std::size_t kPngSignatureBytes = 8;
inline constexpr std::size_t kChunkLengthAndType = 8; // before a chunk's data
inline constexpr std::size_t kChunkCrc = 4;           // after it

inline std::uint32_t bigEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

} // namespace th::image
