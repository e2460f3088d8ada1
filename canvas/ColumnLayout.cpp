#include "canvas/ColumnLayout.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"

#include <vector>

namespace th::canvas {

void resetColumns(CanvasEditor& editor, CanvasDisplay& display)
{
    CanvasModel& model = editor.model();
    const SpriteEntry* selected = model.sprites().current();
    if (!selected)
        return;
    const std::int32_t margin = model.clipMargin();
    const std::int64_t limit = std::int64_t(selected->x) + selected->width - 2 * std::int64_t(margin);

    // List positions by import number. Numbers outside 1..N or already taken
    // find no slot, and a missing number is passed over, so a damaged
    // numbering can neither stall the layout nor reach a missing sprite.
    const auto sprites = model.sprites().entries();
    const std::size_t count = sprites.size();
    constexpr std::size_t kNone = std::size_t(-1);
    std::vector<std::size_t> byIndex(count + 1, kNone);
    ReflowColumns reflow;
    for (std::size_t position = 0; position < count; ++position) {
        const SpriteEntry& sprite = sprites[position];
        reflow.places.emplace_back(sprite.x, sprite.y);
        if (sprite.index >= 1 && std::size_t(sprite.index) <= count && byIndex[std::size_t(sprite.index)] == kNone)
            byIndex[std::size_t(sprite.index)] = position;
    }

    // Slots are counted on the visible boxes; the first one starts at x = 0.
    // A sprite is shifted so that its visible box's top-left lands on its
    // slot, which for a turned one (clipped at top and bottom) means margin
    // right and margin up.
    std::int64_t px = -std::int64_t(margin);
    std::int64_t py = 0;
    for (std::size_t number = 1; number <= count; ++number) {
        if (byIndex[number] == kNone)
            continue;
        const SpriteEntry& sprite = sprites[byIndex[number]];
        if (px >= limit) {
            px = -std::int64_t(margin);
            py += sprite.height;
        }
        const VisibleBox box = visibleBox(sprite, margin);
        reflow.places[byIndex[number]] = {std::int32_t(sprite.x + (px + margin - box.left)),
                                          std::int32_t(sprite.y + (py - box.top))};
        px += box.width;
    }
    editor.perform(std::move(reflow));

    selectTopAndRedraw(model, display);
    // Shown by the upright formula even when the last sprite is turned, so
    // not through positionReadout, which follows the turn.
    const SpriteEntry* last = model.sprites().current();
    display.showPosition(positionText(std::int64_t(last->x) + margin, last->y));
}

} // namespace th::canvas
