#pragma once
// Places boxes close together on a square canvas by the maximal-rectangles
// method with best short side fit, largest boxes first. Plain rectangles in,
// top-left corners out; what a box is and how it turns is the caller's.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace th::canvas {

struct PackBox {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Orders boxes of the same size, so the layout never depends on the
    // order they came in.
    std::string name = {};
};

struct PackOptions {
    std::int32_t canvasSide = 1024;
    // Empty pixels kept between any two boxes (not at the canvas's edges).
    std::int32_t gap = 0;
    // Every corner on the 8-pixel grid.
    bool onGrid = false;
    // A box may be turned a quarter, its width and height exchanged.
    bool mayTurn = false;
};

struct PackedBox {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool turned = false;
};

// Corners by the boxes' order, or nullopt when they do not all fit on the
// canvas. Of several trial layouts the one whose used rectangle (from the
// origin to the farthest right and bottom edges) is smallest wins.
std::optional<std::vector<PackedBox>> packTightly(std::span<const PackBox> boxes, const PackOptions& options);

// The side of the smallest square canvas, a power of two, that holds the
// boxes packed with `options` (its canvasSide ignored); nullopt past 32768.
std::optional<std::int32_t> sideNeeded(std::span<const PackBox> boxes, PackOptions options);

} // namespace th::canvas
