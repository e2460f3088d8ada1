#pragma once
// Reads a sprite's picture file into the image library, for the canvas
// commands of the window and of any tool without one.

#include "canvas/CanvasCommands.h"

#include <optional>
#include <string>

namespace th::image {
class ImageStore;
}

namespace th::canvas {

// Decodes the file into a new automatic image; no picture, with the reason,
// when the file cannot be read or the store's decoders refuse it.
PictureLoad loadPictureFile(image::ImageStore& store, const std::string& path);

} // namespace th::canvas
