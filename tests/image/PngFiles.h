#pragma once
// libpng itself as the test oracle: writes PNG data of any colour type, bit
// depth and chunk set, and reads PNG files back as libpng stores them.

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace th::image::testing {

using Bytes = std::vector<std::uint8_t>;

struct PngLayout {
    int width = 1;
    int height = 1;
    int colourType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<std::uint8_t> paletteAlpha; // a tRNS chunk for palette images
    bool transparentColour = false;         // a tRNS chunk for grey or RGB images ...
    png_color_16 transparent{};             // ... naming this sample value
};

// Rows hold the samples as PNG stores them (packed below 8 bits, big-endian
// at 16 bits).
Bytes encodePng(const PngLayout& layout, const std::vector<Bytes>& rows);

struct PngContents {
    int width = 0;
    int height = 0;
    int colourType = -1;
    int bitDepth = 0;
    bool hasTrns = false;
    std::vector<png_color> palette;
    std::vector<std::string> chunks; // the names of every chunk, in file order
    std::vector<Bytes> rows;         // below 8 bits: one sample a byte
};

PngContents readPngFile(const std::filesystem::path& file);

// Sets a chunk's CRC to match its type and data; `at` is its length field.
void fixChunkCrc(Bytes& png, std::size_t at);

} // namespace th::image::testing
