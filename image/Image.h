#pragma once
// One image record: 8-bit RGBA pixels, rows top first, stride width * 4,
// straight alpha, plus what it was made from.

#include "image/PixelRows.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

namespace th::image {

// Sides are held in 16 signed bits by the rest of the program.
inline constexpr int kMaxSide = 32767;

// width * height * 4 when both sides lie in 1 ... kMaxSide and the product
// fits in memory's size type; nothing otherwise.
[[nodiscard]] std::optional<std::size_t> rgbaByteCount(int width, int height);

class Image {
public:
    // Zeroed pixels, or nullptr when the size is refused or memory runs out.
    // Zero pages come straight from the system, so a large image whose rows
    // are never written costs no memory.
    [[nodiscard]] static std::unique_ptr<Image> allocate(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t* pixels() const { return pixels_.get(); }
    std::size_t stride() const { return static_cast<std::size_t>(width_) * 4; }
    std::size_t byteCount() const { return stride() * static_cast<std::size_t>(height_); }
    PixelView view() const { return {pixels(), width_, height_, stride()}; }
    PixelRows rows() const { return {pixels(), width_, height_, stride(), 4, false}; }

    // The depth of the data the image came from (the requested depth for a
    // created image), and the tag of the decoder that read it (0 if created).
    int sourceDepth = 32;
    std::uint32_t sourceTag = 0;

private:
    struct FreeBytes {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    Image(int width, int height, std::uint8_t* pixels)
        : width_(width), height_(height), pixels_(pixels) {}

    int width_;
    int height_;
    std::unique_ptr<std::uint8_t, FreeBytes> pixels_;
};

} // namespace th::image
