#pragma once
// One picture placed on the canvas.

#include <cstdint>
#include <string>

namespace th::canvas {

// A picture is addressed by its number in the image library; the canvas only
// holds the number and hands it back for release when the sprite goes away.
using ImageHandle = int;

struct SpriteEntry {
    ImageHandle image = 0;
    // Top-left corner on the canvas; may be negative once dragged off an edge.
    std::int32_t x = 0;
    std::int32_t y = 0;
    // Size on the canvas: the picture's size, exchanged while rotated.
    std::int32_t width = 0;
    std::int32_t height = 0;
    // 1.0 normally, 0.5 while held by the mouse.
    float opacity = 1.0f;
    bool rotated = false;
    // The file's name without its folder, extension included.
    std::string name;
    // 1-based import number; the indices of a list are always 1 to N.
    std::int32_t index = 0;
};

} // namespace th::canvas
