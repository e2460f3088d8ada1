#pragma once
// The decoder and encoder interfaces behind the image store, and the codec
// tags (three letters read as a little-endian integer).

#include "files/FileResult.h"
#include "image/PixelRows.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace th::image {

inline constexpr std::uint32_t kCodecPng = 0x474E50; // "PNG"
inline constexpr std::uint32_t kCodecBmp = 0x504D42; // "BMP"

// How a save maps palette rows; a type of its own so that no other flag set
// can be passed where it is meant.
enum class SaveFlags : unsigned {
    None = 0,
    Dither = 1u << 8, // error diffusion (on a private copy)
};
constexpr bool hasFlag(SaveFlags set, SaveFlags flag)
{
    return (static_cast<unsigned>(set) & static_cast<unsigned>(flag)) != 0;
}

// What a decode may ask for. A header is only a promise: a few bytes can claim
// 32767 x 32767 pixels, so the size is checked before any pixel is allocated.
struct DecodeLimits {
    std::size_t maxPixels = std::size_t{16384} * 16384; // 1 GiB of RGBA
};

// What a decoder learnt from the header of data it accepted.
struct DecodedHeader {
    int width = 0;
    int height = 0;
    int outputDepth = 32; // the rows it delivers: 24 (RGB) or 32 (RGBA)
    int sourceDepth = 0;  // the depth the data itself is stored at
};

// One decode in progress; the destructor releases everything it holds.
class DecodeSession {
public:
    virtual ~DecodeSession() = default;
    virtual const DecodedHeader& header() const = 0;
    // Writes the rows, top row first, each `stride` bytes apart, at the
    // header's output depth. False when the data ended or broke early; the
    // rows delivered before that stay written.
    virtual bool readRows(std::uint8_t* buffer, std::size_t stride) = 0;
};

class Decoder {
public:
    virtual ~Decoder() = default;
    virtual std::uint32_t tag() const = 0;
    // A session when the data is in this decoder's format and its header
    // reads; nullptr otherwise. `data` must stay valid for the session's life.
    [[nodiscard]] virtual std::unique_ptr<DecodeSession>
    probe(std::span<const std::uint8_t> data) const = 0;
};

class Encoder {
public:
    virtual ~Encoder() = default;
    virtual std::uint32_t tag() const = 0;
    // Whether write() takes 4-byte RGBA rows; every encoder takes 3-byte RGB.
    virtual bool writesRgba() const = 0;
    // Writes the file; on any failure says why and leaves no file behind.
    [[nodiscard]] virtual files::FileResult write(const std::filesystem::path& file, const PixelRows& source,
                                                  SaveFlags flags, int depth) const = 0;
};

} // namespace th::image
