#pragma once
// "Pack Tightly": every sprite's visible box placed close to the others on
// the canvas as one change, or, when they do not all fit, a notice of the
// canvas they need and nothing moved.

#include "canvas/CanvasCommands.h"

#include <cstdint>

namespace th::toolkit {
class Host;
}

namespace th::canvas {

inline constexpr std::int32_t kMostPackGap = 16;

struct PackChoices {
    // 0 to kMostPackGap pixels between boxes.
    std::int32_t gap = 0;
    bool mayTurn = false;
    bool snapToGrid = false;
};

void packSpritesTightly(CanvasEditor& editor, toolkit::Host& host, CanvasDisplay& display, const PackChoices& choices);

} // namespace th::canvas
