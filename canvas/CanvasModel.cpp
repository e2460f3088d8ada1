#include "canvas/CanvasModel.h"

#include <algorithm>

namespace th::canvas {

void CanvasModel::addSprite(SpriteEntry entry)
{
    nextIndex = std::int32_t(sprites.size()) + 1;
    entry.index = nextIndex;
    sprites.add(std::move(entry));
}

void CanvasModel::measureUsedArea()
{
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    const std::int64_t margin = clipMargin;
    sprites.passOver([&](const SpriteEntry& entry) {
        const std::int64_t edgeX = std::int64_t(entry.x) + entry.width - (entry.rotated ? 0 : margin);
        const std::int64_t edgeY = std::int64_t(entry.y) + entry.height - (entry.rotated ? margin : 0);
        right = std::max(right, edgeX);
        bottom = std::max(bottom, edgeY);
    });
    sheetExtentX = std::int32_t(right);
    sheetExtentY = std::int32_t(bottom);
}

} // namespace th::canvas
