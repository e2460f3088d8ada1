#pragma once
// Test helpers for sheets: pictures made pixel by pixel in the image
// library, and written sheets read back through libpng, palette or RGBA,
// as plain RGBA values.

#include "image/ImageStore.h"

#include <array>
#include <filesystem>
#include <functional>

#include <png.h>

namespace th::exporting::testing {

using Rgba = std::array<int, 4>;

// A width x height picture in `images` whose pixel (u, v) is colour(u, v).
int makePicture(image::ImageStore& images, int width, int height, const std::function<Rgba(int u, int v)>& colour);
Rgba pixelOf(const image::ImageStore& images, int number, int x, int y);

struct SheetFile {
    int width = 0;
    int height = 0;
    int colourType = -1;
    int bitDepth = 0;
    std::vector<std::vector<Rgba>> rows;

    Rgba at(int x, int y) const { return rows.at(std::size_t(y)).at(std::size_t(x)); }
};

// Decodes with libpng; a palette index becomes its palette colour, opaque.
SheetFile readSheet(const std::filesystem::path& file);

} // namespace th::exporting::testing
