#pragma once
// The repaint that every change of the canvas's sprites ends with.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasModel.h"

namespace th::canvas {

// Measures the used area first, because the view's overlay reads the extent
// last measured; measuring leaves the last sprite current.
inline void redrawWithOverlay(CanvasModel& model, CanvasDisplay& display)
{
    model.measureUsedArea();
    display.redraw();
}

} // namespace th::canvas
