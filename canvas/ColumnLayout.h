#pragma once
// "Reset Columns": lays every sprite out again in import order, left to right
// in rows, so that the visible boxes (inside the alpha clip) touch. The user
// sets the rows' right end by where they put the current sprite.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasEdit.h"

namespace th::canvas {

// A sprite whose slot starts at or past the current sprite's right edge less
// twice the margin opens a new row, as high as itself. Only positions change,
// not the drawing order. Does nothing while the canvas holds no sprite.
void resetColumns(CanvasEditor& editor, CanvasDisplay& display);

} // namespace th::canvas
