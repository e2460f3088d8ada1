#pragma once
// The decoder and encoder interfaces behind the image store, and the codec
// tags (three letters read as a little-endian integer).

#include "image/PixelRows.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace th::image {

inline constexpr std::uint32_t kCodecPng = 0x474E50; // "PNG"
inline constexpr std::uint32_t kCodecBmp = 0x504D42; // "BMP"

// Save flag: map palette rows with error diffusion (on a private copy).
inline constexpr int kSaveFlagDither = 0x100;

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
    // Writes the file; false (and no file left behind) on any failure.
    [[nodiscard]] virtual bool write(const std::filesystem::path& file, const PixelRows& source,
                                     int flags, int depth) const = 0;
};

} // namespace th::image
