#include "image/ImageStore.h"
#include "image/BmpDecoder.h"
#include "image/PngDecoder.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace {

using namespace th::image;
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

// libpng writes the test data; rows hold the samples as PNG stores them.
Bytes encodePng(const PngLayout& layout, const std::vector<Bytes>& rows)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the test image");
    }
    png_set_write_fn(png, &out, [](png_structp p, png_bytep data, png_size_t length) {
        auto* bytes = static_cast<Bytes*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + length);
    }, nullptr);
    // Many small IDAT chunks, so damage late in the data leaves early rows whole.
    png_set_compression_buffer_size(png, 256);
    png_set_IHDR(png, info, png_uint_32(layout.width), png_uint_32(layout.height), layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), int(layout.palette.size()));
    if (!layout.paletteAlpha.empty())
        png_set_tRNS(png, info, layout.paletteAlpha.data(), int(layout.paletteAlpha.size()), nullptr);
    if (layout.transparentColour)
        png_set_tRNS(png, info, nullptr, 0, &layout.transparent);
    png_write_info(png, info);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass)
        for (const Bytes& row : rows)
            png_write_row(png, row.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A test picture in any PNG layout: the stored samples and, worked out
// independently of libpng, the RGBA bytes the decoder must deliver.
struct Picture {
    std::vector<Bytes> rows;
    Bytes expected;
};

Picture makePicture(const PngLayout& l)
{
    const int channels = l.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                         : l.colourType == PNG_COLOR_TYPE_RGB  ? 3
                         : l.colourType == PNG_COLOR_TYPE_RGBA ? 4
                                                               : 1;
    const int max = (1 << l.bitDepth) - 1;
    const int paletteMax = static_cast<int>(l.palette.size()) - 1;
    Picture p;
    for (int y = 0; y < l.height; ++y) {
        Bytes row((static_cast<std::size_t>(l.width * channels * l.bitDepth) + 7) / 8, 0);
        for (int x = 0; x < l.width; ++x) {
            int samples[4];
            int bytes[4];
            for (int c = 0; c < channels; ++c) {
                // Pixel (1, 0) repeats pixel (0, 0), so a tRNS colour hits twice.
                const int sx = x == 1 && y == 0 ? 0 : x;
                int v = (sx * 4099 + y * 771 + c * 1237 + 11) & max;
                if (l.colourType == PNG_COLOR_TYPE_PALETTE)
                    v = std::min(v, paletteMax);
                samples[c] = v;
                bytes[c] = l.bitDepth == 16 ? v >> 8 : v * 255 / max;
                const int bit = (x * channels + c) * l.bitDepth;
                if (l.bitDepth == 16) {
                    row[static_cast<std::size_t>(bit / 8)] = static_cast<std::uint8_t>(v >> 8);
                    row[static_cast<std::size_t>(bit / 8) + 1] = static_cast<std::uint8_t>(v);
                } else {
                    row[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(v << (8 - l.bitDepth - bit % 8));
                }
            }
            std::uint8_t rgba[4];
            switch (l.colourType) {
            case PNG_COLOR_TYPE_PALETTE: {
                const png_color& e = l.palette[static_cast<std::size_t>(samples[0])];
                const auto i = static_cast<std::size_t>(samples[0]);
                rgba[0] = e.red, rgba[1] = e.green, rgba[2] = e.blue;
                rgba[3] = i < l.paletteAlpha.size() ? l.paletteAlpha[i] : 255;
                break;
            }
            case PNG_COLOR_TYPE_GRAY:
            case PNG_COLOR_TYPE_GRAY_ALPHA:
                rgba[0] = rgba[1] = rgba[2] = static_cast<std::uint8_t>(bytes[0]);
                rgba[3] = static_cast<std::uint8_t>(channels == 2 ? bytes[1] : 255);
                if (l.transparentColour && samples[0] == l.transparent.gray)
                    rgba[3] = 0;
                break;
            default:
                for (int c = 0; c < 4; ++c)
                    rgba[c] = static_cast<std::uint8_t>(c < channels ? bytes[c] : 255);
                if (l.transparentColour && samples[0] == l.transparent.red
                    && samples[1] == l.transparent.green && samples[2] == l.transparent.blue)
                    rgba[3] = 0;
            }
            p.expected.insert(p.expected.end(), rgba, rgba + 4);
        }
        p.rows.push_back(row);
    }
    return p;
}

PngLayout layout(int colourType, int bitDepth, int width = 5, int height = 3, bool interlaced = false)
{
    PngLayout l{width, height, colourType, bitDepth, interlaced, {}, {}, false, {}};
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        for (int i = 0; i < (1 << bitDepth); ++i)
            l.palette.push_back({static_cast<png_byte>(i * 3), static_cast<png_byte>(255 - i),
                                 static_cast<png_byte>(i * 7)});
    return l;
}

PngLayout withTrns(PngLayout l)
{
    if (l.colourType == PNG_COLOR_TYPE_PALETTE) {
        // Shorter than an 8-bit palette: the entries after it stay opaque.
        l.paletteAlpha = {0, 32, 33, 255, 128};
        l.paletteAlpha.resize(std::min(l.paletteAlpha.size(), l.palette.size()));
    } else {
        const int max = (1 << l.bitDepth) - 1;
        // The first pixel's own samples become the transparent colour.
        auto sample = [&](int c) { return static_cast<png_uint_16>((c * 1237 + 11) & max); };
        l.transparent.gray = sample(0);
        l.transparent.red = sample(0);
        l.transparent.green = sample(1);
        l.transparent.blue = sample(2);
        l.transparentColour = true;
    }
    return l;
}

struct DecodeCase {
    const char* name;
    PngLayout layout;
    int sourceDepth;
};

class PngDecoding : public ::testing::Test {
protected:
    PngDecoding()
    {
        store.registerDecoder(std::make_unique<BmpDecoder>());
        store.registerDecoder(std::make_unique<PngDecoder>());
    }
    th::testing::TempHome home;
    ImageStore store;
};

TEST_F(PngDecoding, EveryColourTypeAndBitDepthGivesRgbaAndItsSourceDepth)
{
    const DecodeCase cases[] = {
        {"palette 1", layout(PNG_COLOR_TYPE_PALETTE, 1), 1},
        {"palette 2", layout(PNG_COLOR_TYPE_PALETTE, 2), 2},
        {"palette 4", layout(PNG_COLOR_TYPE_PALETTE, 4), 4},
        {"palette 8", layout(PNG_COLOR_TYPE_PALETTE, 8), 8},
        {"palette 8 tRNS", withTrns(layout(PNG_COLOR_TYPE_PALETTE, 8)), 32},
        {"palette 2 tRNS", withTrns(layout(PNG_COLOR_TYPE_PALETTE, 2)), 32},
        {"grey 1", layout(PNG_COLOR_TYPE_GRAY, 1), 1},
        {"grey 2", layout(PNG_COLOR_TYPE_GRAY, 2), 2},
        {"grey 4", layout(PNG_COLOR_TYPE_GRAY, 4), 4},
        {"grey 8", layout(PNG_COLOR_TYPE_GRAY, 8), 8},
        {"grey 16", layout(PNG_COLOR_TYPE_GRAY, 16), 16},
        {"grey 4 tRNS", withTrns(layout(PNG_COLOR_TYPE_GRAY, 4)), 8},
        {"grey 16 tRNS", withTrns(layout(PNG_COLOR_TYPE_GRAY, 16)), 16},
        {"grey+alpha 8", layout(PNG_COLOR_TYPE_GRAY_ALPHA, 8), 8},
        {"grey+alpha 16", layout(PNG_COLOR_TYPE_GRAY_ALPHA, 16), 16},
        {"RGB 8", layout(PNG_COLOR_TYPE_RGB, 8), 24},
        {"RGB 16", layout(PNG_COLOR_TYPE_RGB, 16), 24},
        {"RGB 8 tRNS", withTrns(layout(PNG_COLOR_TYPE_RGB, 8)), 32},
        {"RGBA 8", layout(PNG_COLOR_TYPE_RGBA, 8), 32},
        {"RGBA 16", layout(PNG_COLOR_TYPE_RGBA, 16), 32},
        {"RGBA 8 interlaced 1x1", layout(PNG_COLOR_TYPE_RGBA, 8, 1, 1, true), 32},
        {"RGBA 8 interlaced 13x11", layout(PNG_COLOR_TYPE_RGBA, 8, 13, 11, true), 32},
        {"palette 4 interlaced", layout(PNG_COLOR_TYPE_PALETTE, 4, 9, 10, true), 4},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture picture = makePicture(c.layout);
        const Bytes png = encodePng(c.layout, picture.rows);
        const auto n = store.decode(3, png);
        ASSERT_TRUE(n);
        EXPECT_EQ(*n, 3);
        EXPECT_EQ(store.width(3), c.layout.width);
        EXPECT_EQ(store.height(3), c.layout.height);
        EXPECT_EQ(store.depth(3, kDepthSource), c.sourceDepth);
        EXPECT_EQ(store.depth(3, 0), 32);
        const PixelView view = store.handle(3);
        EXPECT_EQ(Bytes(view.pixels, view.pixels + picture.expected.size()), picture.expected);
    }
}

TEST_F(PngDecoding, RefusesDataThatIsNeitherPngNorBmpOrTooShort)
{
    const Bytes rgba = encodePng(layout(PNG_COLOR_TYPE_RGBA, 8), makePicture(layout(PNG_COLOR_TYPE_RGBA, 8)).rows);
    EXPECT_FALSE(store.decode(0, std::span(rgba).first(7)));
    const Bytes text = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(store.decode(0, text));
    EXPECT_FALSE(store.decode(kAutoNumber, {}));
    EXPECT_EQ(store.width(0), 0);
}

// Damaged files, each named by its defect: none may crash or hang. Damage in
// the header refuses the data; damage in the pixel data still gives the
// image, with the rows read before the damage intact.
TEST_F(PngDecoding, DamagedFilesFailCleanly)
{
    // Noise (a fixed LCG) so the data spans many IDAT chunks.
    const PngLayout l = layout(PNG_COLOR_TYPE_RGBA, 8, 64, 64);
    Picture picture;
    std::uint32_t state = 12345;
    for (int y = 0; y < l.height; ++y) {
        Bytes row(64 * 4);
        for (auto& b : row)
            b = static_cast<std::uint8_t>((state = state * 1664525u + 1013904223u) >> 24);
        picture.rows.push_back(row);
        picture.expected.insert(picture.expected.end(), row.begin(), row.end());
    }
    const Bytes good = encodePng(l, picture.rows);
    constexpr std::size_t ihdr = 8; // the IHDR chunk's length field
    auto damaged = [&](std::size_t at, Bytes bytes, bool fixCrc) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + std::ptrdiff_t(at));
        const uLong crc = crc32(0, b.data() + ihdr + 4, 17); // IHDR's type and 13 data bytes
        for (std::size_t i = 0; fixCrc && i < 4; ++i)
            b[ihdr + 21 + i] = std::uint8_t(crc >> (24 - 8 * i));
        return b;
    };
    const std::pair<const char*, Bytes> refused[] = {
        {"zero_width.png", damaged(ihdr + 8, {0, 0, 0, 0}, true)},
        {"huge_width.png", damaged(ihdr + 8, {0x7F, 0xFF, 0xFF, 0xFF}, true)},
        {"width_40000.png", damaged(ihdr + 8, {0, 0, 0x9C, 0x40}, true)},
        {"height_40000.png", damaged(ihdr + 12, {0, 0, 0x9C, 0x40}, true)},
        {"bit_depth_3.png", damaged(ihdr + 16, {3}, true)},
        {"colour_type_5.png", damaged(ihdr + 17, {5}, true)},
        {"interlace_2.png", damaged(ihdr + 20, {2}, true)},
        {"bad_ihdr_crc.png", damaged(ihdr + 9, {1}, false)},
        {"ihdr_renamed.png", damaged(ihdr + 4, {'I', 'H', 'D', 'X'}, false)},
    };
    for (const auto& [name, bytes] : refused) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(store.decode(kAutoNumber, bytes));
    }

    const std::size_t idatData = ihdr + 25 + 8; // the header is read up to IDAT's type
    const Bytes badCrc = damaged(good.size() / 2, {0xAA}, false); // in some IDAT chunk
    const Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    for (const Bytes* bytes : {&badCrc, &truncated}) {
        const auto n = store.decode(kAutoNumber, *bytes);
        ASSERT_TRUE(n);
        const PixelView view = store.handle(*n);
        EXPECT_EQ(view.width, 64);
        // The first row always arrives before the damage.
        EXPECT_TRUE(std::equal(view.pixels, view.pixels + 64 * 4, picture.expected.begin()));
    }
    // Every cut of the file, from the signature to the last byte: refused
    // until the header is whole.
    for (std::size_t cut = 8; cut < good.size(); ++cut) {
        const auto n = store.decode(1, std::span(good).first(cut));
        EXPECT_EQ(n.has_value(), cut >= idatData) << "cut at " << cut;
    }
}

// Big-endian 32 bits, as PNG stores lengths and sizes; little-endian for BMP.
void putBe32(Bytes& b, std::uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}
void putLe32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

// Signature, IHDR (RGBA, 8 bits), an empty IDAT and IEND: 57 bytes whose
// header can claim any size.
Bytes pngHeaderOnly(std::uint32_t width, std::uint32_t height)
{
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char* type, Bytes data) {
        putBe32(b, std::uint32_t(data.size()));
        const std::size_t start = b.size();
        b.insert(b.end(), type, type + 4);
        b.insert(b.end(), data.begin(), data.end());
        putBe32(b, std::uint32_t(crc32(0, b.data() + start, uInt(b.size() - start))));
    };
    Bytes ihdr;
    putBe32(ihdr, width);
    putBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, PNG_COLOR_TYPE_RGBA, 0, 0, 0});
    chunk("IHDR", ihdr);
    chunk("IDAT", {});
    chunk("IEND", {});
    return b;
}

// The two headers of a 24-bit BMP (file 14 bytes, information 40) and no pixels.
Bytes bmpHeaderOnly(std::uint32_t width, std::uint32_t height)
{
    Bytes b = {'B', 'M'};
    for (std::uint32_t v : {54u, 0u, 54u, 40u, width, height})
        putLe32(b, v);
    b.insert(b.end(), {1, 0, 24, 0});
    b.resize(54, 0);
    return b;
}

// A header is checked against the limit before any pixel is allocated, so a
// few bytes cannot ask for gigabytes.
TEST_F(PngDecoding, HeadersBeyondTheDecodeLimitAreRefusedBeforeAllocating)
{
    const struct {
        const char* name;
        Bytes data;
        std::size_t maxPixels; // 0: the default limits
        bool accepted;
    } cases[] = {
        {"png_32767x32767_57_bytes.png", pngHeaderOnly(32767, 32767), 0, false},
        {"bmp_32767x32767_54_bytes.bmp", bmpHeaderOnly(32767, 32767), 0, false},
        {"png 8x8 under a 63-pixel limit", pngHeaderOnly(8, 8), 63, false},
        {"png 8x8 under a 64-pixel limit", pngHeaderOnly(8, 8), 64, true},
        {"bmp 8x8 under a 63-pixel limit", bmpHeaderOnly(8, 8), 63, false},
        {"bmp 8x8 under a 64-pixel limit", bmpHeaderOnly(8, 8), 64, true},
        {"png 4096x4096 under the default", pngHeaderOnly(4096, 4096), 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodeLimits limits = c.maxPixels ? DecodeLimits{c.maxPixels} : DecodeLimits{};
        const auto n = store.decode(kAutoNumber, c.data, limits);
        EXPECT_EQ(n.has_value(), c.accepted);
        if (n)
            store.free(*n);
    }
}

} // namespace
