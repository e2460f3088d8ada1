#pragma once
// One picture placed on the canvas, and the box of it that the clip leaves.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace th::canvas {

// A picture is addressed by its number in the image library.
using ImageHandle = int;
// Frees a picture in the image library.
using ImageRelease = std::function<void(ImageHandle)>;

// Keeps a sprite's picture in the image library while anything still holds a
// copy: the sprite on the canvas, or a change that can bring the sprite back.
// The last copy to go frees the picture.
using PictureHold = std::shared_ptr<const ImageHandle>;

// A hold on `image` whose last copy hands it to `release`.
inline PictureHold holdPicture(ImageHandle image, ImageRelease release)
{
    return PictureHold(new ImageHandle(image), [release = std::move(release)](const ImageHandle* held) {
        if (release)
            release(*held);
        delete held;
    });
}

struct SpriteEntry {
    ImageHandle image = 0;
    // Top-left corner on the canvas; may be negative once dragged off an edge.
    std::int32_t x = 0;
    std::int32_t y = 0;
    // Size on the canvas: the picture's size, exchanged while rotated.
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool rotated = false;
    // The file's name without its folder, extension included.
    std::string name = {};
    // 1-based import number; the indices of a list are always 1 to N.
    std::int32_t index = 0;
    // The file the picture was read from, as the user chose it (UTF-8).
    std::string sourcePath = {};
    // Empty for sprites whose picture nobody frees (tests, fixed pictures).
    PictureHold picture = {};
    // The point an engine places and turns the sprite about, as a fraction
    // of its visible box from the top-left corner.
    double pivotX = 0.5;
    double pivotY = 0.5;
};

// The part of a sprite the clip leaves, in canvas pixels. 64-bit, so a sprite
// dragged far out cannot wrap around.
struct VisibleBox {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The clip takes `margin` pixels off the picture's own left and right, which
// are the canvas's top and bottom while the sprite is turned.
inline VisibleBox visibleBox(const SpriteEntry& sprite, std::int32_t margin)
{
    const std::int64_t alongX = sprite.rotated ? 0 : margin;
    const std::int64_t alongY = sprite.rotated ? margin : 0;
    return {std::int64_t(sprite.x) + alongX, std::int64_t(sprite.y) + alongY,
            std::int64_t(sprite.width) - 2 * alongX, std::int64_t(sprite.height) - 2 * alongY};
}

} // namespace th::canvas
