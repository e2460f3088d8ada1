#include "canvas/CanvasReadouts.h"

namespace th::canvas {

std::string positionReadout(const CanvasModel& canvas)
{
    const SpriteEntry* sprite = canvas.sprites().current();
    if (!sprite)
        return positionText(0, 0);
    const VisibleBox box = visibleBox(*sprite, canvas.clipMargin());
    return positionText(box.left, box.top);
}

std::string positionText(std::int64_t x, std::int64_t y)
{
    return "Image X: " + std::to_string(x) + " / Y: " + std::to_string(y);
}

std::string nameLabel(const CanvasModel& canvas)
{
    const SpriteEntry* sprite = canvas.sprites().current();
    return sprite ? sprite->name : std::string(" ");
}

} // namespace th::canvas
