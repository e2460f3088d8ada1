#include "canvas/ColumnLayout.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"

#include <vector>

namespace th::canvas {

void resetColumns(CanvasModel& model, CanvasDisplay& display)
{
    const SpriteEntry* selected = model.sprites.current();
    if (!selected)
        return;
    const std::int64_t margin = model.clipMargin;
    const std::int64_t limit = std::int64_t(selected->x) + selected->width - 2 * margin;

    // The sprites by import number. Numbers outside 1..N or already taken
    // find no slot, and a missing number is passed over, so a damaged
    // numbering can neither stall the layout nor reach a missing sprite.
    const std::size_t count = model.sprites.size();
    std::vector<SpriteEntry*> byIndex(count + 1, nullptr);
    model.sprites.passOver([&](SpriteEntry& sprite) {
        if (sprite.index >= 1 && std::size_t(sprite.index) <= count && !byIndex[std::size_t(sprite.index)])
            byIndex[std::size_t(sprite.index)] = &sprite;
    });

    // Slots are counted on the pictures' full width less the clip on both
    // sides; the first visible box starts at x = 0.
    std::int64_t px = -margin;
    std::int64_t py = 0;
    for (std::size_t number = 1; number <= count; ++number) {
        SpriteEntry* sprite = byIndex[number];
        if (!sprite)
            continue;
        if (px >= limit) {
            px = -margin;
            py += sprite->height;
        }
        if (sprite->rotated) {
            // Turned, the clip lies at the top and bottom: shift the sprite
            // so its visible box starts where an upright one's would.
            sprite->x = std::int32_t(px + margin);
            sprite->y = std::int32_t(py - margin);
            px += sprite->width;
        } else {
            sprite->x = std::int32_t(px);
            sprite->y = std::int32_t(py);
            px += sprite->width - 2 * margin;
        }
    }

    redrawWithOverlay(model, display);
    // Shown by the upright formula even when the last sprite is turned, so
    // not through positionReadout, which follows the turn.
    const SpriteEntry* last = model.sprites.current();
    display.showPosition(positionText(std::int64_t(last->x) + margin, last->y));
}

} // namespace th::canvas
