#pragma once
// The repaint that every change of the canvas's sprites ends with.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasModel.h"

namespace th::canvas {

// After a change the sprite drawn on top becomes current, so that is what the
// overlay marks and what the next Delete removes, even where the texts shown
// just before named the sprite current until then (an import into the middle
// of the list, a delete, a clip step).
inline void selectTopAndRedraw(CanvasModel& model, CanvasDisplay& display)
{
    model.selectLast();
    display.redraw();
}

} // namespace th::canvas
