#pragma once
// The canvas model as one line of text, for tests that compare whole states.

#include "canvas/CanvasModel.h"

#include <cstdio>
#include <string>

namespace th::canvas::testing {

// The model as one line: sprites in drawing order (name, index, place, size,
// T when turned, the pivot unless it is the centre), then the current sprite's name and the other values.
inline std::string describe(const CanvasModel& model)
{
    std::string text;
    for (const SpriteEntry& s : model.sprites().entries()) {
        text += s.name + "#" + std::to_string(s.index) + "@" + std::to_string(s.x) + "," + std::to_string(s.y) + " " +
                std::to_string(s.width) + "x" + std::to_string(s.height) + (s.rotated ? "T " : " ");
        if (s.pivotX != 0.5 || s.pivotY != 0.5) {
            char pivot[64];
            std::snprintf(pivot, sizeof pivot, "pivot %g,%g ", s.pivotX, s.pivotY);
            text += pivot;
        }
    }
    const SpriteEntry* current = model.sprites().current();
    return text + "| current " + (current ? current->name : "-") + ", clip " + std::to_string(model.clipMargin()) +
           ", place " + std::to_string(model.placeX()) + "," + std::to_string(model.placeY()) +
           (model.canvasActive() ? ", active" : ", inactive") + ", size " + std::to_string(model.canvasSize());
}

} // namespace th::canvas::testing
