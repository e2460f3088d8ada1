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

// Decodes the file into a new automatic image; nullopt when the file cannot
// be read or is no picture the store's decoders accept.
std::optional<LoadedPicture> loadPictureFile(image::ImageStore& store, const std::string& path);

} // namespace th::canvas
