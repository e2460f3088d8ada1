#pragma once
// The alpha clip: one margin M, in steps of 2 pixels, taken off the left and
// right of every sprite's picture (its top and bottom on the canvas while it
// is turned). Both commands act on the current sprite and do nothing while
// the canvas holds no sprite.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasModel.h"

namespace th::canvas {

// Widens the margin by 2 while it is below half the current sprite's picture
// width (integer division); other sprites do not limit it.
void clipAlphaImage(CanvasModel& model, CanvasDisplay& display);

// Narrows the margin by 2, down to 0.
void expandAlphaClip(CanvasModel& model, CanvasDisplay& display);

} // namespace th::canvas
