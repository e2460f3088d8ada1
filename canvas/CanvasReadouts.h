#pragma once
// The two texts shown above the canvas for the current sprite.

#include "canvas/CanvasModel.h"

#include <cstdint>
#include <string>

namespace th::canvas {

// "Image X: a / Y: b", the top-left corner of the current sprite's visible
// box. "Image X: 0 / Y: 0" when no sprite is current, which happens while
// the canvas is active after a folder import that found nothing.
std::string positionReadout(const CanvasModel& canvas);
// The read-out's text for a given corner.
std::string positionText(std::int64_t x, std::int64_t y);

// The current sprite's file name, or one blank when no sprite is current.
std::string nameLabel(const CanvasModel& canvas);

} // namespace th::canvas
