#pragma once
// The canvas model as one line of text, for tests that compare whole states.

#include "canvas/CanvasModel.h"

#include <sstream>
#include <string>

namespace th::canvas::testing {

// The model as one line: sprites in drawing order (name, index, place, size,
// T when turned, the pivot unless it is the centre), then the current sprite's name and the other values.
inline std::string describe(const CanvasModel& model)
{
    std::ostringstream text;
    for (const SpriteEntry& s : model.sprites().entries()) {
        text << s.name << "#" << s.index << "@" << s.x << "," << s.y << " " << s.width << "x" << s.height
             << (s.rotated ? "T " : " ");
        if (s.pivotX != 0.5 || s.pivotY != 0.5)
            text << "pivot " << s.pivotX << "," << s.pivotY << " ";
    }
    const SpriteEntry* current = model.sprites().current();
    text << "| current " << (current ? current->name : "-") << ", clip " << model.clipMargin() << ", place "
         << model.placeX() << "," << model.placeY() << (model.canvasActive() ? ", active" : ", inactive") << ", size "
         << model.canvasSize();
    return text.str();
}

} // namespace th::canvas::testing
