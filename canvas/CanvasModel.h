#pragma once
// The canvas's data without any window: the sprite list and the values that
// go with it. The canvas size (1024, 2048 or 4096) is not kept here; whoever
// needs it reads it from the size selector and passes it in.

#include "canvas/SpriteList.h"

#include <cstdint>
#include <utility>

namespace th::canvas {

struct CanvasModel {
    explicit CanvasModel(ImageRelease releaseImage = {}) : sprites(std::move(releaseImage)) {}

    SpriteList sprites;
    // The index the sprite being added receives.
    std::int32_t nextIndex = 0;
    // Pixels clipped from the left and right of every sprite's picture.
    std::int32_t clipMargin = 0;
    // Where the next imported picture goes.
    std::int32_t placeX = 0;
    std::int32_t placeY = 0;
    // The used area, as last measured; the sheet size before any rounding.
    std::int32_t sheetExtentX = 0;
    std::int32_t sheetExtentY = 0;
    // 1 once pictures have been placed; mouse input is ignored while 0.
    std::int32_t canvasActive = 0;

    // Numbers the sprite as the list's size + 1 (through nextIndex) and adds
    // it after the current sprite, making it current.
    void addSprite(SpriteEntry entry);
    // Recomputes sheetExtentX and sheetExtentY. The clip comes off only at the
    // right of upright sprites and at the bottom of rotated ones; nothing left
    // of or above the origin counts. Leaves the last sprite current.
    void measureUsedArea();
};

} // namespace th::canvas
