#pragma once
// Views of pixel rows that the codecs and the drawing code share. Neither view
// owns the bytes it points at.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace th::image {

// Writable 8-bit RGBA pixels, top row first, stride width * 4. This is what
// the Qt side wraps as a QImage (Format_RGBA8888) without copying.
struct PixelView {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;

    explicit operator bool() const { return pixels != nullptr; }
};

// Told by the PNG encoder how many rows it has written so far, and asked
// with 0 between the steps of learning a palette before the first row;
// returning false abandons the write, which then leaves no file behind and
// reports SaveProblem::Cancelled.
using RowWatch = std::function<bool(int rowsWritten)>;

// Read-only source rows handed to an encoder: 3 bytes a pixel (red, green,
// blue) or 4 (red, green, blue, straight alpha).
struct PixelRows {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    int bytesPerPixel = 4;
    bool bottomUp = false; // the first row in memory is the last image row
    const RowWatch* watch = nullptr;

    const std::uint8_t* row(int imageRow) const
    {
        const int stored = bottomUp ? height - 1 - imageRow : imageRow;
        return pixels + static_cast<std::size_t>(stored) * stride;
    }
};

} // namespace th::image
