#include "canvas/PackCommand.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/TightPacking.h"
#include "toolkit/Host.h"

#include <algorithm>

namespace th::canvas {

namespace {

std::string sideText(std::int32_t side)
{
    return std::to_string(side) + " × " + std::to_string(side);
}

std::string tooSmallNotice(std::int32_t canvasSide, std::optional<std::int32_t> needed)
{
    const std::string start = "The images do not fit on a " + sideText(canvasSide) + " canvas when packed tightly; ";
    return needed ? start + "they need one of " + sideText(*needed) + " pixels." : start + "they need one larger than 32768 × 32768 pixels.";
}

} // namespace

void packSpritesTightly(CanvasEditor& editor, toolkit::Host& host, CanvasDisplay& display, const PackChoices& choices)
{
    CanvasModel& model = editor.model();
    const auto sprites = model.sprites().entries();
    if (sprites.empty())
        return;
    const std::int32_t margin = model.clipMargin();

    // The packer sees the visible boxes; sizes clipped below nothing count
    // as nothing.
    std::vector<PackBox> boxes;
    boxes.reserve(sprites.size());
    for (const SpriteEntry& sprite : sprites) {
        const VisibleBox box = visibleBox(sprite, margin);
        boxes.push_back({std::int32_t(std::max<std::int64_t>(box.width, 0)),
                         std::int32_t(std::max<std::int64_t>(box.height, 0)), sprite.name});
    }
    const PackOptions options{.canvasSide = model.canvasSize(),
                              .gap = std::clamp(choices.gap, 0, kMostPackGap),
                              .onGrid = choices.snapToGrid,
                              .mayTurn = choices.mayTurn};
    const std::optional<std::vector<PackedBox>> packed = packTightly(boxes, options);
    if (!packed) {
        host.message("Wait!", tooSmallNotice(model.canvasSize(), sideNeeded(boxes, options)));
        return;
    }

    // A sprite is placed so that its visible box, as it lies after any
    // turn, starts at the packed corner: the clip is along the canvas's x
    // while upright and along its y while turned.
    PackSprites pack;
    for (std::size_t position = 0; position < sprites.size(); ++position) {
        const PackedBox& at = (*packed)[position];
        const bool rotated = sprites[position].rotated != at.turned;
        pack.places.emplace_back(at.x - (rotated ? 0 : margin), at.y - (rotated ? margin : 0));
        pack.turns.push_back(at.turned);
    }
    editor.perform(std::move(pack));
    display.redraw();
    display.showPosition(positionReadout(model));
    display.showName(nameLabel(model));
}

} // namespace th::canvas
