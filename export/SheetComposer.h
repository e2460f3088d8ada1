#pragma once
// Draws the canvas's sprites into a new sheet image of the image library.

#include "canvas/SpriteList.h"

#include <optional>

namespace th::image {
class ImageStore;
}
namespace th::toolkit {
class Progress;
}

namespace th::exporting {

// Which way a turned sprite lies on the sheet; the canvas shows the first.
enum class Turn { CounterClockwise, Clockwise };

// A new image of width x height in `images`, transparent where no sprite
// covers it, with every sprite's picture (at the picture's own size, clip or
// no clip) drawn over it in list order: upright with its top-left pixel at
// (x, y), or turned 90 degrees counter-clockwise, picture pixel (u, v) going
// to column x + v, row y + pictureWidth - 1 - u; or, with `Turn::Clockwise`,
// turned 90 degrees clockwise into the same box, (u, v) going to column
// x + pictureHeight - 1 - v, row y + u. Parts beyond the sheet's
// edges are cut off. Returns the image's number (the caller frees it), or
// nothing when the image cannot be made. `progress` hears of each sprite
// drawn; the composition is short, so a request to stop waits for the
// caller's next step.
[[nodiscard]] std::optional<int> composeSheet(image::ImageStore& images, const canvas::SpriteList& sprites,
                                              int width, int height, toolkit::Progress* progress = nullptr,
                                              Turn turn = Turn::CounterClockwise);

} // namespace th::exporting
