#include "PngFiles.h"

#include "testing/TempHome.h"

#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <stdexcept>

namespace th::image::testing {
namespace {

void appendToBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

std::uint32_t be32(const std::string& s, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at])) << 24
           | static_cast<std::uint8_t>(s[at + 1]) << 16 | static_cast<std::uint8_t>(s[at + 2]) << 8
           | static_cast<std::uint8_t>(s[at + 3]);
}

} // namespace

Bytes encodePng(const PngLayout& layout, const std::vector<Bytes>& rows)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the test image");
    }
    png_set_write_fn(png, &out, appendToBytes, nullptr);
    // Many small IDAT chunks, so damage late in the data leaves early rows whole.
    png_set_compression_buffer_size(png, 256);
    png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width), static_cast<png_uint_32>(layout.height),
                 layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    if (!layout.paletteAlpha.empty())
        png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()), nullptr);
    if (layout.transparentColour)
        png_set_tRNS(png, info, nullptr, 0, &layout.transparent);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (const Bytes& row : rows)
            png_write_row(png, row.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

PngContents readPngFile(const std::filesystem::path& file)
{
    const std::string bytes = th::testing::readBytes(file);
    PngContents c;
    for (std::size_t at = 8; at + 8 <= bytes.size(); at += 12 + be32(bytes, at))
        c.chunks.push_back(bytes.substr(at + 4, 4));

    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in)
        throw std::runtime_error("no file " + file.string());
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(in);
        throw std::runtime_error("libpng could not read " + file.string());
    }
    png_init_io(png, in);
    png_read_info(png, info);
    c.width = static_cast<int>(png_get_image_width(png, info));
    c.height = static_cast<int>(png_get_image_height(png, info));
    c.colourType = png_get_color_type(png, info);
    c.bitDepth = png_get_bit_depth(png, info);
    c.hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(png, info, &palette, &entries) == PNG_INFO_PLTE)
        c.palette.assign(palette, palette + entries);
    png_set_packing(png);
    png_read_update_info(png, info);
    c.rows.assign(static_cast<std::size_t>(c.height), Bytes(png_get_rowbytes(png, info)));
    for (Bytes& row : c.rows)
        png_read_row(png, row.data(), nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(in);
    return c;
}

void fixChunkCrc(Bytes& png, std::size_t at)
{
    const std::size_t length = static_cast<std::size_t>(png[at]) << 24 | png[at + 1] << 16
                               | png[at + 2] << 8 | png[at + 3];
    const uLong crc = crc32(0, png.data() + at + 4, static_cast<uInt>(length + 4));
    for (int i = 0; i < 4; ++i)
        png[at + 8 + length + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
}

} // namespace th::image::testing
