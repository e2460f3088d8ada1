#pragma once
// Test pictures made pixel by pixel in the image library, and PNG files read
// back with libpng itself as the oracle: a file it warns about is unreadable.

#include "image/ImageStore.h"

#include <png.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace th::testing {

using Rgba = std::array<int, 4>;

// A new width x height image in `images` whose pixel (u, v) is colour(u, v).
int makePicture(image::ImageStore& images, int width, int height, const std::function<Rgba(int u, int v)>& colour);
Rgba pixelOf(const image::ImageStore& images, int number, int x, int y);

struct PngFile {
    int width = 0;
    int height = 0;
    int colourType = -1;
    int bitDepth = 0;
    std::vector<png_color> palette;
    std::string chunks;                          // the chunk names in file order, a run given once: "IHDR IDAT IEND"
    std::vector<int> filters;                    // each row's filter type byte in the IDAT data
    int zlibLevel = -1;                          // the zlib header's FLEVEL: 3 for levels 7 to 9
    std::vector<std::uint8_t> samples;           // row after row as stored; below 8 bits one a byte

    // RGBA pixels; a palette index gives its palette colour, opaque.
    Rgba at(int x, int y) const;
};

PngFile readPng(const std::filesystem::path& file);

} // namespace th::testing
