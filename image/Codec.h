#pragma once
// The decoder and encoder interfaces behind the image store, and the codec
// tags (three letters read as a little-endian integer).

#include "image/SaveResult.h"
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

// No picture larger than the largest canvas (4096) can be placed whole, and
// a bigger one only costs memory and time: this budget leaves room for one
// twice as wide and high, 256 MiB of RGBA.
inline constexpr int kDecodeBudgetSide = 8192;

// What a decode may ask for. A header is only a promise: a few bytes can claim
// 32767 x 32767 pixels, so the size is checked before any pixel is allocated.
struct DecodeLimits {
    std::size_t maxPixels = std::size_t{kDecodeBudgetSide} * kDecodeBudgetSide;
};

enum class DecodeStatus {
    Decoded,     // an image, whole or with the rows before a break in its data
    NotAPicture, // no decoder knows the data
    Damaged,     // a decoder knows the data but its header does not read
    TooLarge,    // the header declares more pixels than the limits allow
    OutOfMemory,
    BadNumber,   // the number names no slot an image may take
};

// What a decode gave, and the size the header declared once it was read.
struct [[nodiscard]] DecodeOutcome {
    DecodeStatus status = DecodeStatus::NotAPicture;
    int number = 0; // the image's number (its handle for kAutoNumber) when decoded
    int declaredWidth = 0;
    int declaredHeight = 0;
    // False when the data broke off and rows were left blank.
    bool complete = true;

    bool ok() const { return status == DecodeStatus::Decoded; }
};

// What a decoder learnt from the header of data it accepted.
struct DecodedHeader {
    int width = 0;
    int height = 0;
    int outputDepth = 32; // the rows it delivers: 24 (RGB) or 32 (RGBA)
    int sourceDepth = 0;  // the depth the data itself is stored at
};

// Image rows top <= row < bottom hold what the data delivered; `intact` is
// false when the data was damaged after them (a checksum that does not
// match, a stream that does not end where it should).
struct DeliveredRows {
    int top = 0;
    int bottom = 0;
    bool intact = true;
};

// One decode in progress; the destructor releases everything it holds.
class DecodeSession {
public:
    virtual ~DecodeSession() = default;
    virtual const DecodedHeader& header() const = 0;
    // Writes the rows, each `stride` bytes apart, at the header's output
    // depth, and stops where the data ends or breaks. The rows outside the
    // range it returns keep what part of them arrived (an interlaced pass)
    // and are otherwise left as they were, but made opaque when the data
    // has no alpha.
    virtual DeliveredRows readRows(std::uint8_t* buffer, std::size_t stride) = 0;
};

// A decoder's answer to the first bytes: a session ready to read the rows, or
// why there is none; declaredWidth and declaredHeight once a header was read.
struct Probe {
    DecodeStatus status = DecodeStatus::NotAPicture;
    int declaredWidth = 0;
    int declaredHeight = 0;
    std::unique_ptr<DecodeSession> session;
};

// Damaged for sides below 1, TooLarge for more pixels than the limits allow,
// Decoded otherwise. Sides are checked first, so the product cannot overflow.
DecodeStatus checkDeclaredSize(std::int64_t width, std::int64_t height, const DecodeLimits& limits);

class Decoder {
public:
    virtual ~Decoder() = default;
    virtual std::uint32_t tag() const = 0;
    // NotAPicture when the data is not in this decoder's format; otherwise
    // the header is read and checked against the limits before anything of
    // the picture's size is allocated. `data` must stay valid for the
    // session's life.
    [[nodiscard]] virtual Probe probe(std::span<const std::uint8_t> data, const DecodeLimits& limits) const = 0;
};

class Encoder {
public:
    virtual ~Encoder() = default;
    virtual std::uint32_t tag() const = 0;
    // Whether write() takes 4-byte RGBA rows; every encoder takes 3-byte RGB.
    virtual bool writesRgba() const = 0;
    // Writes the file; on any failure says why and leaves no file behind.
    [[nodiscard]] virtual SaveResult write(const std::filesystem::path& file, const PixelRows& source,
                                                  SaveFlags flags, int depth) const = 0;
};

} // namespace th::image
