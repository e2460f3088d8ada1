#pragma once
// The alpha clip: one margin M, in steps of 2 pixels, taken off the left and
// right of every sprite's picture (its top and bottom on the canvas while it
// is turned). Both commands act on the current sprite and do nothing while
// the canvas holds no sprite.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasEdit.h"

namespace th::canvas {

// Widens the margin by 2 while it is below half the current sprite's picture
// width (integer division); other sprites do not limit it.
void clipAlphaImage(CanvasEditor& editor, CanvasDisplay& display);

// Narrows the margin by 2, down to 0.
void expandAlphaClip(CanvasEditor& editor, CanvasDisplay& display);

} // namespace th::canvas
