#include "canvas/SpriteNudge.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/GridSnap.h"

#include <algorithm>

namespace th::canvas {

namespace {

// Where one coordinate of the visible box goes: the grid line strictly
// beyond it in the arrow's direction, or `step` pixels on.
std::int64_t nudged(std::int64_t from, std::int32_t direction, std::int32_t step, bool toGridLine)
{
    if (direction == 0)
        return from;
    if (!toGridLine)
        return from + direction * step;
    const std::int64_t below = from - ((from % kGrid) + kGrid) % kGrid;
    return direction > 0 ? below + kGrid : (below == from ? from - kGrid : below);
}

// Keeps the box on the canvas; a box larger than the canvas keeps its
// top-left corner at the origin.
std::int64_t inside(std::int64_t at, std::int64_t size, std::int32_t canvasSize)
{
    return std::max<std::int64_t>(0, std::min(at, canvasSize - size));
}

} // namespace

void nudgeCurrent(CanvasEditor& editor, CanvasDisplay& display, std::int32_t dx, std::int32_t dy, NudgeStep step,
                  bool snapToGrid)
{
    CanvasModel& model = editor.model();
    const std::optional<std::size_t> position = model.sprites().currentPosition();
    if (!model.canvasActive() || !position)
        return;
    const SpriteEntry& sprite = model.sprites().entries()[*position];
    const VisibleBox box = visibleBox(sprite, model.clipMargin());
    const bool large = step == NudgeStep::Large;
    const std::int32_t pixels = large ? kGrid : 1;
    const std::int64_t left = inside(nudged(box.left, dx, pixels, large && snapToGrid), box.width, model.canvasSize());
    const std::int64_t top = inside(nudged(box.top, dy, pixels, large && snapToGrid), box.height, model.canvasSize());
    if (left == box.left && top == box.top)
        return;
    editor.perform(NudgeSprite{.position = *position,
                               .x = std::int32_t(sprite.x + (left - box.left)),
                               .y = std::int32_t(sprite.y + (top - box.top))});
    display.redraw();
    display.showPosition(positionReadout(model));
}

} // namespace th::canvas
