// Decoding PNG and BMP data: every PNG layout against pixels worked out
// apart from any library, hand-made BMP files, damaged files named by their
// defect and the decode limits.

#include "image/BmpDecoder.h"
#include "image/ImageStore.h"
#include "image/PngDecoder.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <optional>
#include <span>

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

// libpng writes the test data; rows hold the samples as PNG stores them,
// but one sample a byte below 8 bits (libpng packs them). Rows past the
// last one given repeat it.
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
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS); // every row filter, at any depth
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
    png_set_packing(png);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass)
        for (int y = 0; y < layout.height; ++y)
            png_write_row(png, rows[std::min(std::size_t(y), rows.size() - 1)].data());
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
    const bool palette = l.colourType == PNG_COLOR_TYPE_PALETTE;
    const int channels = l.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                         : l.colourType == PNG_COLOR_TYPE_RGB  ? 3
                         : l.colourType == PNG_COLOR_TYPE_RGBA ? 4
                                                               : 1;
    const bool grey = channels < 3 && !palette;
    const int max = (1 << l.bitDepth) - 1;
    Picture p;
    for (int y = 0; y < l.height; ++y) {
        Bytes row;
        for (int x = 0; x < l.width; ++x) {
            // Pixel (1, 0) repeats pixel (0, 0), so a tRNS colour hits twice.
            const int sx = x == 1 && y == 0 ? 0 : x;
            int s[4] = {};
            std::uint8_t b[4] = {};
            for (int c = 0; c < channels; ++c) {
                s[c] = (sx * 4099 + y * 771 + c * 1237 + 11) & max;
                if (palette)
                    s[c] = std::min(s[c], int(l.palette.size()) - 1);
                if (l.bitDepth == 16)
                    row.push_back(std::uint8_t(s[c] >> 8));
                row.push_back(std::uint8_t(s[c]));
                b[c] = std::uint8_t(l.bitDepth == 16 ? s[c] >> 8 : s[c] * 255 / max);
            }
            std::array<std::uint8_t, 4> rgba = {b[0], b[1], b[2], std::uint8_t(channels == 4 ? b[3] : 255)};
            if (palette) {
                const auto i = std::size_t(s[0]);
                const png_color& e = l.palette[i];
                rgba = {e.red, e.green, e.blue, i < l.paletteAlpha.size() ? l.paletteAlpha[i] : std::uint8_t(255)};
            } else if (grey) {
                rgba = {b[0], b[0], b[0], std::uint8_t(channels == 2 ? b[1] : 255)};
            }
            const png_color_16& t = l.transparent;
            if (l.transparentColour && (grey ? s[0] == t.gray : s[0] == t.red && s[1] == t.green && s[2] == t.blue))
                rgba[3] = 0;
            p.expected.insert(p.expected.end(), rgba.begin(), rgba.end());
        }
        p.rows.push_back(row);
    }
    return p;
}

PngLayout layout(int colourType, int bitDepth, int width, int height, bool interlaced = false)
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

// Big-endian 32 bits, as PNG stores sizes.
Bytes be32(std::uint32_t v)
{
    return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

constexpr std::size_t kIhdr = 8; // the IHDR chunk's length field

// `png` with `bytes` written at `at`, and IHDR's CRC made right again unless
// the damage is to break it.
Bytes damaged(Bytes png, std::size_t at, const Bytes& bytes, bool fixCrc = true)
{
    std::copy(bytes.begin(), bytes.end(), png.begin() + std::ptrdiff_t(at));
    const uLong crc = crc32(0, png.data() + kIhdr + 4, 17); // IHDR's type and 13 data bytes
    for (std::size_t i = 0; fixCrc && i < 4; ++i)
        png[kIhdr + 21 + i] = std::uint8_t(crc >> (24 - 8 * i));
    return png;
}

// A small PNG whose header claims width x height.
Bytes claiming(const Bytes& png, std::uint32_t width, std::uint32_t height)
{
    return damaged(damaged(png, kIhdr + 8, be32(width)), kIhdr + 12, be32(height));
}

// Where each IDAT chunk starts and how many data bytes it holds.
std::vector<std::pair<std::size_t, std::size_t>> idatChunks(const Bytes& png)
{
    std::vector<std::pair<std::size_t, std::size_t>> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = std::size_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (std::equal(png.begin() + std::ptrdiff_t(at + 4), png.begin() + std::ptrdiff_t(at + 8), "IDAT"))
            chunks.emplace_back(at, length);
        at += 12 + length;
    }
    return chunks;
}

// `png` with every IDAT chunk's CRC made right again, so that only the
// damage to its data remains.
Bytes withIdatCrc(Bytes png)
{
    for (const auto& [at, length] : idatChunks(png)) {
        const Bytes crc = be32(std::uint32_t(crc32(0, png.data() + at + 4, uInt(length + 4))));
        std::copy(crc.begin(), crc.end(), png.begin() + std::ptrdiff_t(at + 8 + length));
    }
    return png;
}

// The two headers of a BMP (file 14 bytes, information 40), little-endian,
// ahead of `dataBytes` of rows.
Bytes bmpHeaders(int width, int height, int bits, int compression, std::size_t dataBytes)
{
    Bytes b(54, 0);
    b[0] = 'B', b[1] = 'M';
    const std::pair<std::size_t, std::uint32_t> fields[] = {{2, std::uint32_t(54 + dataBytes)}, {10, 54}, {14, 40},
        {18, std::uint32_t(width)}, {22, std::uint32_t(height)}, {26, 1u | std::uint32_t(bits) << 16}, {30, std::uint32_t(compression)}};
    for (const auto& [at, v] : fields)
        for (std::size_t i = 0; i < 4; ++i)
            b[at + i] = std::uint8_t(v >> (8 * i));
    return b;
}

// Rows of 8-bit noise, so that the compressed data spans many IDAT chunks.
std::vector<Bytes> noiseRows(std::size_t width, std::size_t height, std::size_t channels, unsigned seed)
{
    const std::size_t rowBytes = width * channels;
    const std::string noise = th::testing::noiseBytes(rowBytes * height, seed);
    std::vector<Bytes> rows;
    for (std::size_t y = 0; y < height; ++y)
        rows.emplace_back(noise.begin() + std::ptrdiff_t(y * rowBytes), noise.begin() + std::ptrdiff_t((y + 1) * rowBytes));
    return rows;
}

class Decoding : public ::testing::Test {
protected:
    Decoding()
    {
        store.registerDecoder(std::make_unique<BmpDecoder>());
        store.registerDecoder(std::make_unique<PngDecoder>());
    }
    th::testing::TempHome home;
    ImageStore store;
};

// Every colour type at every bit depth it allows, with tRNS where it may
// have one, plain and interlaced (at 1 x 1 every pass but the first is
// empty, at 13 x 11 the passes run short). Grey with tRNS widens to 8 bits;
// palette and RGB with tRNS to 32.
TEST_F(Decoding, EveryPngColourTypeAndBitDepthGivesRgbaAndItsSourceDepth)
{
    const struct {
        int colourType;
        std::vector<int> bitDepths;
        int depthWithTrns; // 0: no tRNS; -1: the bit depth, at least 8
    } types[] = {
        {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}, 32},
        {PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}, -1},
        {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}, 0},
        {PNG_COLOR_TYPE_RGB, {8, 16}, 32},
        {PNG_COLOR_TYPE_RGBA, {8, 16}, 0},
    };
    const std::tuple<int, int, bool> sizes[] = {{5, 3, false}, {1, 1, true}, {13, 11, true}};
    for (const auto& t : types)
        for (const int bitDepth : t.bitDepths)
            for (const bool trns : {false, true})
                for (const auto& [width, height, interlaced] : sizes) {
                    if (trns && t.depthWithTrns == 0)
                        continue;
                    SCOPED_TRACE(::testing::Message() << "colour type " << t.colourType << ", " << bitDepth << " bits"
                                                      << (trns ? " tRNS " : " ") << width << "x" << height);
                    const PngLayout l = trns ? withTrns(layout(t.colourType, bitDepth, width, height, interlaced))
                                             : layout(t.colourType, bitDepth, width, height, interlaced);
                    const int plainDepth = t.colourType == PNG_COLOR_TYPE_RGB ? 24
                                           : t.colourType == PNG_COLOR_TYPE_RGBA ? 32 : bitDepth;
                    const int sourceDepth = !trns ? plainDepth : t.depthWithTrns < 0 ? std::max(bitDepth, 8) : t.depthWithTrns;
                    const Picture picture = makePicture(l);
                    const DecodeOutcome decoded = store.decode(3, encodePng(l, picture.rows));
                    ASSERT_EQ(decoded.number, 3);
                    EXPECT_TRUE(decoded.complete);
                    EXPECT_EQ(std::pair(store.width(3), store.height(3)), std::pair(width, height));
                    EXPECT_EQ(std::pair(store.depth(3, kDepthSource), store.depth(3, 0)), std::pair(sourceDepth, 32));
                    const PixelView view = store.handle(3);
                    EXPECT_EQ(Bytes(view.pixels, view.pixels + picture.expected.size()), picture.expected);
                }
}

// Hand-made BMP files, whole or broken off: the rows present arrive, the
// rows missing stay opaque black, run-length data and odd depths deliver none.
TEST_F(Decoding, BmpFilesGiveTheirRowsBottomUp)
{
    // 5 pixels of 16 bits, red in bits 10-14: 10 bytes, padded to 12.
    Bytes fiveFiveFive = bmpHeaders(5, 1, 16, 0, 12);
    for (const std::uint16_t p : {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0421})
        fiveFiveFive.insert(fiveFiveFive.end(), {std::uint8_t(p), std::uint8_t(p >> 8)});
    fiveFiveFive.insert(fiveFiveFive.end(), {0, 0});
    Bytes oneOfTwoRows = bmpHeaders(1, 2, 24, 0, 4);
    oneOfTwoRows.insert(oneOfTwoRows.end(), {1, 2, 3, 0});
    const Bytes black = {0, 0, 0, 255, 0, 0, 0, 255};
    const struct {
        const char* name;
        Bytes data;
        int sourceDepth;
        Bytes pixels; // top row first
    } cases[] = {
        {"555_16_bit.bmp", fiveFiveFive, 16,
         {248, 0, 0, 255, 0, 248, 0, 255, 0, 0, 248, 255, 248, 248, 248, 255, 8, 8, 8, 255}},
        {"one_of_two_rows.bmp", oneOfTwoRows, 24, {0, 0, 0, 255, 3, 2, 1, 255}},
        {"rle4.bmp", bmpHeaders(2, 1, 4, 2, 0), 4, black},
        {"rle8.bmp", bmpHeaders(2, 1, 8, 1, 0), 8, black},
        {"12_bit.bmp", bmpHeaders(2, 1, 12, 0, 0), 12, black},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(store.decode(5, c.data).number, 5);
        EXPECT_EQ(store.depth(5, kDepthSource), c.sourceDepth);
        EXPECT_EQ(Bytes(store.handle(5).pixels, store.handle(5).pixels + c.pixels.size()), c.pixels);
    }
}

// Damage in the pixel data, each named by its defect: no crash and no hang,
// and the image with the rows read before the damage intact.
TEST_F(Decoding, DamagedPixelDataGivesTheRowsBeforeIt)
{
    const std::vector<Bytes> rows = noiseRows(64, 64, 4, 12345);
    const Bytes good = encodePng(layout(PNG_COLOR_TYPE_RGBA, 8, 64, 64), rows);
    // The picture is reported incomplete; from RGB data the rows missing are
    // opaque black.
    const Bytes interlaced = encodePng(layout(PNG_COLOR_TYPE_RGBA, 8, 64, 64, true), rows);
    const Bytes rgb = encodePng(layout(PNG_COLOR_TYPE_RGB, 8, 64, 64), rows); // the first 192 bytes of each row
    const struct {
        const char* name;
        Bytes data;
        int atLeast; // rows that must arrive whole
        bool rgb = false;
        // The last rows delivered, read from the chunk whose CRC then fails
        // (as libpng reads them too), are not compared.
        int unchecked = 0;
    } broken[] = {
        {"idat_crc_flipped.png", damaged(good, good.size() / 2, {0xAA}, false), 8, false, 1},
        {"cut_in_half.png", Bytes(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)), 8},
        {"wrong_adler32.png", withIdatCrc(damaged(good, good.size() - 12 - 4 - 1, {0x5A}, false)), 63},
        {"idat_longer_than_file.png", damaged(good, idatChunks(good).back().first, be32(0x7FFFFFF0), false), 8},
        {"interlaced_cut.png", Bytes(interlaced.begin(), interlaced.begin() + std::ptrdiff_t(interlaced.size() * 3 / 4)), 0},
        {"rgb_cut_in_half.png", Bytes(rgb.begin(), rgb.begin() + std::ptrdiff_t(rgb.size() / 2)), 8, true},
    };
    for (const auto& c : broken) {
        SCOPED_TRACE(c.name);
        Probe probe = PngDecoder().probe(c.data, {});
        ASSERT_TRUE(probe.session);
        Bytes ours(64 * 64 * 4);
        const DeliveredRows delivered = probe.session->readRows(ours.data(), 64 * 4);
        EXPECT_EQ(delivered.top, 0);
        EXPECT_FALSE(delivered.intact && delivered.bottom == 64);
        EXPECT_GE(delivered.bottom, c.atLeast);
        const DecodeOutcome decoded = store.decode(kAutoNumber, c.data);
        ASSERT_TRUE(decoded.ok());
        EXPECT_FALSE(decoded.complete);
        const PixelView view = store.handle(decoded.number);
        for (std::size_t y = 0; y < (c.rgb ? 64 : std::size_t(delivered.bottom - c.unchecked)); ++y) {
            Bytes expected = rows[y];
            for (std::size_t x = 0; c.rgb && x < 64; ++x) {
                const bool arrived = int(y) < delivered.bottom;
                for (std::size_t i = 0; i < 4; ++i)
                    expected[x * 4 + i] = i == 3 ? 255 : arrived ? rows[y][x * 3 + i] : 0;
            }
            ASSERT_EQ(Bytes(view.pixels + y * view.stride, view.pixels + y * view.stride + 256), expected) << "row " << y;
        }
        store.free(decoded.number);
    }
    // Every cut of the file, from the signature to the last byte: refused
    // until IHDR is whole, then a picture with the rows that arrived, complete
    // once the image data and its checksum are (IEND adds nothing).
    const std::size_t ihdrEnd = kIhdr + 25;
    for (std::size_t cut = 8; cut < good.size(); ++cut) {
        const DecodeOutcome decoded = store.decode(1, std::span(good).first(cut));
        EXPECT_EQ(decoded.ok(), cut >= ihdrEnd) << "cut at " << cut;
        EXPECT_EQ(decoded.ok() && decoded.complete, cut >= good.size() - 12 + 8) << "cut at " << cut;
    }
}

// Headers are checked before any pixel is allocated. Damage there refuses
// the data and leaves the store alone; a size beyond the budget is refused
// with the declared size, so a few bytes cannot ask for gigabytes.
TEST_F(Decoding, HeadersAreCheckedBeforeAnyPixelIsAllocated)
{
    const PngLayout eight = layout(PNG_COLOR_TYPE_RGBA, 8, 8, 8);
    const Bytes png8x8 = encodePng(eight, makePicture(eight).rows);
    // A whole 1-bit picture whose zero rows compress a thousandfold.
    const Bytes bomb16384 = encodePng(layout(PNG_COLOR_TYPE_GRAY, 1, 16384, 16384), {Bytes(16384, 0)});
    Bytes bmpReserved = bmpHeaders(1, 1, 24, 0, 4);
    bmpReserved[7] = 1;
    const int side = kDecodeBudgetSide;
    constexpr auto kDamaged = DecodeStatus::Damaged;
    constexpr auto kNotAPicture = DecodeStatus::NotAPicture;
    constexpr auto kTooLarge = DecodeStatus::TooLarge;
    const struct {
        const char* name;
        Bytes data;
        std::size_t maxPixels; // 0: the default limits
        DecodeStatus status;
        std::optional<std::pair<int, int>> declared = {};
    } cases[] = {
        {"zero_width.png", damaged(png8x8, kIhdr + 8, be32(0)), 0, kDamaged},
        {"huge_width.png", damaged(png8x8, kIhdr + 8, be32(0x7FFFFFFF)), 0, kTooLarge},
        {"bit_depth_3.png", damaged(png8x8, kIhdr + 16, {3}), 0, kDamaged},
        {"colour_type_5.png", damaged(png8x8, kIhdr + 17, {5}), 0, kDamaged},
        {"interlace_2.png", damaged(png8x8, kIhdr + 20, {2}), 0, kDamaged},
        {"bad_ihdr_crc.png", damaged(png8x8, kIhdr + 9, {1}, false), 0, kDamaged},
        {"ihdr_renamed.png", damaged(png8x8, kIhdr + 4, {'I', 'H', 'D', 'X'}, false), 0, kDamaged},
        {"seven_bytes.png", Bytes(png8x8.begin(), png8x8.begin() + 7), 0, kNotAPicture},
        {"gif_signature.gif", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, kNotAPicture},
        {"empty", {}, 0, kNotAPicture},
        {"reserved_set.bmp", bmpReserved, 0, kDamaged},
        {"zero_width.bmp", bmpHeaders(0, 1, 24, 0, 0), 0, kDamaged},
        {"negative_height.bmp", bmpHeaders(1, -1, 24, 0, 0), 0, kDamaged},
        {"cut_in_header.bmp", Bytes(bmpReserved.begin(), bmpReserved.begin() + 40), 0, kDamaged},
        {"truncated_30000x30000.png", claiming(png8x8, 30000, 30000), 0, kTooLarge, {{30000, 30000}}},
        {"grey1_bomb_16384x16384.png", bomb16384, 0, kTooLarge, {{16384, 16384}}},
        {"width_40000.png", claiming(png8x8, 40000, 8), 0, kTooLarge, {{40000, 8}}},
        {"bmp_30000x30000_54_bytes.bmp", bmpHeaders(30000, 30000, 24, 0, 0), 0, kTooLarge, {{30000, 30000}}},
        {"png one row over the budget", claiming(png8x8, side, side + 1), 0, kTooLarge, {{side, side + 1}}},
        {"png at the budget", claiming(png8x8, side, side), 0, DecodeStatus::Decoded, {{side, side}}},
        {"bmp at the budget", bmpHeaders(side, side, 24, 0, 0), 0, DecodeStatus::Decoded, {{side, side}}},
        {"png 8x8 under a 63-pixel limit", png8x8, 63, kTooLarge, {{8, 8}}},
        {"png 8x8 under a 64-pixel limit", png8x8, 64, DecodeStatus::Decoded, {{8, 8}}},
        {"bmp 8x8 under a 63-pixel limit", bmpHeaders(8, 8, 24, 0, 0), 63, kTooLarge, {{8, 8}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodeLimits limits = c.maxPixels ? DecodeLimits{c.maxPixels} : DecodeLimits{};
        const DecodeOutcome decoded = store.decode(0, c.data, limits);
        EXPECT_EQ(decoded.status, c.status);
        if (c.declared) {
            EXPECT_EQ(std::pair(decoded.declaredWidth, decoded.declaredHeight), *c.declared);
        }
        EXPECT_EQ(store.width(0), decoded.ok() ? c.declared->first : 0);
        store.free(0);
    }
}

} // namespace
