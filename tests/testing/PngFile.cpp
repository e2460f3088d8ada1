#include "testing/PngFile.h"

#include "testing/TempHome.h"

#include <zlib.h>

#include <csetjmp>
#include <stdexcept>

namespace th::testing {

int makePicture(image::ImageStore& images, int width, int height, const std::function<Rgba(int u, int v)>& colour)
{
    const int number = images.create(image::kAutoNumber, width, height, 0).value();
    const image::PixelView pixels = images.handle(number);
    for (int v = 0; v < height; ++v)
        for (int u = 0; u < width; ++u) {
            const Rgba c = colour(u, v);
            for (std::size_t i = 0; i < 4; ++i)
                pixels.pixels[std::size_t(v) * pixels.stride + std::size_t(u) * 4 + i] = std::uint8_t(c[i]);
        }
    return number;
}

Rgba pixelOf(const image::ImageStore& images, int number, int x, int y)
{
    const image::PixelView pixels = images.handle(number);
    const std::uint8_t* p = pixels.pixels + std::size_t(y) * pixels.stride + std::size_t(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

Rgba PngFile::at(int x, int y) const
{
    const std::size_t pixel = std::size_t(y) * std::size_t(width) + std::size_t(x);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        const png_color& c = palette.at(samples.at(pixel));
        return {c.red, c.green, c.blue, 255};
    }
    if (colourType != PNG_COLOR_TYPE_RGBA)
        throw std::runtime_error("neither palette nor RGBA");
    const std::uint8_t* p = &samples.at(pixel * 4 + 3) - 3;
    return {p[0], p[1], p[2], p[3]};
}

namespace {

// The libpng side of the read. Only plain values live in this frame, and
// `f` in the caller's, so a libpng error's longjmp skips no destructor.
// False on a libpng error; `storedRowBytes` is the row size before unpacking.
bool readWithLibpng(std::FILE* in, PngFile& f, std::size_t& storedRowBytes)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, [](png_structp p, png_const_charp warning) {
        png_error(p, warning);
    });
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, in);
    png_read_info(png, info);
    f.width = int(png_get_image_width(png, info));
    f.height = int(png_get_image_height(png, info));
    f.colourType = png_get_color_type(png, info);
    f.bitDepth = png_get_bit_depth(png, info);
    storedRowBytes = png_get_rowbytes(png, info);
    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(png, info, &palette, &entries) == PNG_INFO_PLTE)
        f.palette.assign(palette, palette + entries);
    png_set_packing(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    f.samples.resize(rowBytes * std::size_t(f.height));
    for (std::size_t y = 0; y < std::size_t(f.height); ++y)
        png_read_row(png, f.samples.data() + y * rowBytes, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

PngFile readPng(const std::filesystem::path& file)
{
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in)
        throw std::runtime_error("no file " + file.string());
    PngFile f;
    std::size_t storedRowBytes = 0;
    const bool read = readWithLibpng(in, f, storedRowBytes);
    std::fclose(in);
    if (!read)
        throw std::runtime_error("libpng could not read " + file.string());

    // The chunks, and the filter byte that starts each row of the inflated
    // data. A length is only trusted as far as the file reaches.
    const std::string bytes = readBytes(file);
    const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::vector<std::uint8_t> compressed;
    for (std::size_t at = 8; at < bytes.size();) {
        const bool headerWhole = bytes.size() - at >= 12;
        const std::size_t length = headerWhole ? std::size_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3] : 0;
        if (!headerWhole || length > bytes.size() - at - 12)
            throw std::runtime_error("a chunk runs past the end of " + file.string());
        const std::string name = bytes.substr(at + 4, 4);
        if (!f.chunks.ends_with(name))
            f.chunks += (f.chunks.empty() ? "" : " ") + name;
        if (name == "IDAT")
            compressed.insert(compressed.end(), b + at + 8, b + at + 8 + length);
        at += 12 + length;
    }
    std::vector<std::uint8_t> raw((storedRowBytes + 1) * std::size_t(f.height) + 1);
    uLongf size = raw.size();
    if (uncompress(raw.data(), &size, compressed.data(), compressed.size()) != Z_OK || size != raw.size() - 1)
        throw std::runtime_error("unexpected IDAT data in " + file.string());
    for (std::size_t r = 0; r < std::size_t(f.height); ++r)
        f.filters.push_back(raw[r * (storedRowBytes + 1)]);
    f.zlibLevel = compressed[1] >> 6; // the stream inflated, so both header bytes are there
    return f;
}

} // namespace th::testing
