#pragma once
// The canvas's data without any window: the sprite list and the values that
// go with it. Everyone reads it; only the editing API (CanvasEdit.h) changes
// it, and every change it applies or reverts counts up the revision.

#include "canvas/SpriteList.h"

#include <cstdint>
#include <span>

namespace th::canvas {

class CanvasModel {
public:
    const SpriteList& sprites() const { return sprites_; }
    // Pixels clipped from the left and right of every sprite's picture.
    std::int32_t clipMargin() const { return clipMargin_; }
    // Where the next imported picture goes.
    std::int32_t placeX() const { return placeX_; }
    std::int32_t placeY() const { return placeY_; }
    // True once pictures have been placed; mouse input is ignored until then.
    bool canvasActive() const { return canvasActive_; }
    // The canvas's side: 1024, 2048 or 4096.
    std::int32_t canvasSize() const { return canvasSize_; }
    // Counts every change applied or reverted; unchanged means nothing to save.
    std::uint64_t revision() const { return revision_; }

    // Which sprite is current is a selection, not a change: it bumps no
    // revision and is not undone.
    void selectFirst() { sprites_.selectFirst(); }
    void selectLast() { sprites_.selectLast(); }
    void select(std::optional<std::size_t> position) { sprites_.select(position); }

private:
    friend class ModelWriter;

    SpriteList sprites_;
    std::int32_t clipMargin_ = 0;
    std::int32_t placeX_ = 0;
    std::int32_t placeY_ = 0;
    bool canvasActive_ = false;
    std::int32_t canvasSize_ = 1024;
    std::uint64_t revision_ = 0;
};

// The used area: the sheet size before any rounding.
struct UsedArea {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The right and bottom edges of the sprites' visible boxes, at the farthest;
// nothing left of or above the origin counts.
UsedArea usedArea(std::span<const SpriteEntry> sprites, std::int32_t clipMargin);
inline UsedArea usedArea(const CanvasModel& model)
{
    return usedArea(model.sprites().entries(), model.clipMargin());
}

} // namespace th::canvas
