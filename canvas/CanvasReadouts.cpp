#include "canvas/CanvasReadouts.h"

namespace th::canvas {

std::string positionReadout(const CanvasModel& canvas)
{
    std::int64_t a = 0;
    std::int64_t b = 0;
    if (const SpriteEntry* sprite = canvas.sprites.current()) {
        a = std::int64_t(sprite->x) + (sprite->rotated ? 0 : canvas.clipMargin);
        b = std::int64_t(sprite->y) + (sprite->rotated ? canvas.clipMargin : 0);
    }
    return positionText(a, b);
}

std::string positionText(std::int64_t x, std::int64_t y)
{
    return "Image X: " + std::to_string(x) + " / Y: " + std::to_string(y);
}

std::string nameLabel(const CanvasModel& canvas)
{
    const SpriteEntry* sprite = canvas.sprites.current();
    return sprite ? sprite->name : std::string(" ");
}

} // namespace th::canvas
