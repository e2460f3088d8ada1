#pragma once
// The arrow keys on the canvas: the current sprite moves one pixel, or with
// Shift eight (to the next grid line while snapping is on), and never out
// of the canvas.

#include "canvas/CanvasCommands.h"

#include <cstdint>

namespace th::canvas {

enum class NudgeStep { Pixel, Large };

// dx and dy are -1, 0 or 1: the arrow's direction, y growing downwards.
void nudgeCurrent(CanvasEditor& editor, CanvasDisplay& display, std::int32_t dx, std::int32_t dy, NudgeStep step,
                  bool snapToGrid);

} // namespace th::canvas
