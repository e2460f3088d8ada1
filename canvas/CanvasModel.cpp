#include "canvas/CanvasModel.h"

#include <algorithm>

namespace th::canvas {

UsedArea usedArea(std::span<const SpriteEntry> sprites, std::int32_t clipMargin)
{
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    for (const SpriteEntry& sprite : sprites) {
        const VisibleBox box = visibleBox(sprite, clipMargin);
        right = std::max(right, box.left + box.width);
        bottom = std::max(bottom, box.top + box.height);
    }
    return {std::int32_t(right), std::int32_t(bottom)};
}

} // namespace th::canvas
