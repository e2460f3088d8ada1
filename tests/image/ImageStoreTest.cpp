// The image store: numbered images, and PNG and BMP data decoded into them.
// Every PNG layout against checksums of pixels worked out apart from any
// library, BMP files as the encoder writes them and made by hand, damaged
// files named by their defect and the decode limits. BMP writing is a
// library feature the application barely uses (its pictures are PNG), so
// its table here is all it has; dithering is in PngEncodeTest.

#include "image/BmpDecoder.h"
#include "image/ImageStore.h"
#include "image/PngDecoder.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <optional>
#include <span>

namespace {

using namespace th::image;
using Bytes = std::vector<std::uint8_t>;

struct PngLayout {
    int colourType;
    int bitDepth;
    int width;
    int height;
    bool interlaced = false;
    bool trns = false; // palette: alpha for the first entries; grey or RGB: the first pixel's colour
};

// Sample c of pixel (x, y). Pixel (1, 0) repeats pixel (0, 0), so a tRNS
// colour hits twice.
int sampleAt(const PngLayout& l, int x, int y, int c)
{
    const int sx = x == 1 && y == 0 ? 0 : x;
    return (sx * 4099 + y * 771 + c * 1237 + 11) & ((1 << l.bitDepth) - 1);
}

// The samples of the pattern as PNG stores them, but one a byte below 8 bits.
Bytes pattern(const PngLayout& l)
{
    const bool colour = l.colourType & PNG_COLOR_MASK_COLOR && l.colourType != PNG_COLOR_TYPE_PALETTE;
    const int channels = (colour ? 3 : 1) + (l.colourType & PNG_COLOR_MASK_ALPHA ? 1 : 0);
    Bytes samples;
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x)
            for (int c = 0; c < channels; ++c) {
                if (l.bitDepth == 16)
                    samples.push_back(std::uint8_t(sampleAt(l, x, y, c) >> 8));
                samples.push_back(std::uint8_t(sampleAt(l, x, y, c)));
            }
    return samples;
}

// libpng writes the test data, a palette image with every entry its index
// allows; `samples` hold the rows as PNG stores them, but one sample a byte
// below 8 bits (libpng packs them), and each row as long as the image's
// share of them.
Bytes encodePng(const PngLayout& l, const Bytes& samples)
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
    png_set_IHDR(png, info, png_uint_32(l.width), png_uint_32(l.height), l.bitDepth, l.colourType,
                 l.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (int i = 0; l.colourType == PNG_COLOR_TYPE_PALETTE && i < (1 << l.bitDepth); ++i)
        palette.push_back({png_byte(i * 3), png_byte(255 - i), png_byte(i * 7)});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    // Shorter than an 8-bit palette: the entries after it stay opaque.
    const png_byte alpha[] = {0, 32, 33, 255, 128};
    png_color_16 colour{};
    colour.gray = colour.red = png_uint_16(sampleAt(l, 0, 0, 0));
    colour.green = png_uint_16(sampleAt(l, 0, 0, 1));
    colour.blue = png_uint_16(sampleAt(l, 0, 0, 2));
    if (l.trns)
        png_set_tRNS(png, info, alpha, int(std::min<std::size_t>(5, palette.size())), palette.empty() ? &colour : nullptr);
    png_write_info(png, info);
    png_set_packing(png);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass)
        for (int y = 0; y < l.height; ++y)
            png_write_row(png, samples.data() + samples.size() / std::size_t(l.height) * std::size_t(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Big-endian 32 bits, as PNG stores sizes.
Bytes be32(std::uint32_t v)
{
    return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

constexpr std::size_t kIhdr = 8; // the IHDR chunk's length field

// `png` with `bytes` written at `at`, and the CRC of the chunk starting at
// `chunk` made right again, so that only the damage remains.
Bytes damaged(Bytes png, std::size_t at, const Bytes& bytes, std::optional<std::size_t> chunk = kIhdr)
{
    std::copy(bytes.begin(), bytes.end(), png.begin() + std::ptrdiff_t(at));
    if (chunk) {
        const std::size_t length = std::size_t(png[*chunk]) << 24 | png[*chunk + 1] << 16 | png[*chunk + 2] << 8 | png[*chunk + 3];
        const Bytes crc = be32(std::uint32_t(crc32(0, png.data() + *chunk + 4, uInt(length + 4))));
        std::copy(crc.begin(), crc.end(), png.begin() + std::ptrdiff_t(*chunk + 8 + length));
    }
    return png;
}

// A small PNG whose header claims width x height.
Bytes claiming(const Bytes& png, std::uint32_t width, std::uint32_t height)
{
    return damaged(damaged(png, kIhdr + 8, be32(width)), kIhdr + 12, be32(height));
}

// The two headers of a BMP (file 14 bytes, information 40), little-endian,
// ahead of a table of `colours` and `dataBytes` of rows, then `after`.
Bytes bmpHeaders(int width, int height, int bits, int compression, std::size_t dataBytes, std::size_t colours = 0,
                 const Bytes& after = {})
{
    Bytes b(54, 0);
    b[0] = 'B', b[1] = 'M';
    const auto offset = std::uint32_t(54 + 4 * colours);
    const std::pair<std::size_t, std::uint32_t> fields[] = {{2, std::uint32_t(offset + dataBytes)}, {10, offset}, {14, 40},
        {18, std::uint32_t(width)}, {22, std::uint32_t(height)}, {26, 1u | std::uint32_t(bits) << 16},
        {30, std::uint32_t(compression)}, {34, std::uint32_t(dataBytes)}};
    for (const auto& [at, v] : fields)
        for (std::size_t i = 0; i < 4; ++i)
            b[at + i] = std::uint8_t(v >> (8 * i));
    b.insert(b.end(), after.begin(), after.end());
    return b;
}

class Store : public ::testing::Test {
protected:
    Store()
    {
        store.registerDecoder(std::make_unique<BmpDecoder>());
        store.registerDecoder(std::make_unique<PngDecoder>());
    }
    th::testing::TempHome home;
    ImageStore store;
};

// One store walked through refusals, static slots that grow, and automatic
// numbers freed one by one or all together.
TEST_F(Store, NumbersNameOpaqueOrClearImagesUntilFreedAndMisfitsLeaveTheStoreAlone)
{
    ASSERT_TRUE(store.create(3, 2, 2, 32));
    const std::tuple<int, int, int> refused[] = {{3, 0, 5}, {kAutoNumber, 5, 0}, {3, -1, 5}, {kAutoNumber, 5, -3},
        {3, 32768, 1}, {kAutoNumber, 1, 32768}, {3, INT32_MAX, INT32_MAX}, {-5, 2, 2}, {kMaxStaticNumber + 1, 2, 2}};
    for (const auto& [number, w, h] : refused)
        EXPECT_FALSE(store.create(number, w, h, 32)) << number << ": " << w << "x" << h;
    EXPECT_EQ(std::pair(store.width(3), store.slotCount()), std::pair(2, std::size_t(16)));

    ASSERT_EQ(store.create(0, 4, 3, 32, Fill::TransparentBlack), 0);
    ASSERT_EQ(store.create(40, 4, 3, 32), 40);
    const PixelView clear = store.handle(0), opaque = store.handle(40);
    EXPECT_EQ(Bytes(clear.pixels, clear.pixels + 48), Bytes(48, 0));
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(opaque.pixels[i], i % 4 == 3 ? 255 : 0) << i;
    EXPECT_EQ(std::pair(opaque.stride, store.depth(40, kDepthSource)), std::pair(std::size_t(16), 32));
    ASSERT_TRUE(store.create(2, 1, 1, 24, Fill::TransparentBlack));
    EXPECT_EQ(std::pair(store.depth(2, kDepthSource), store.depth(2, 0)), std::pair(24, 32));

    EXPECT_EQ(store.slotCount(), 56u);
    ASSERT_TRUE(store.create(40, 5, 7, 32));
    EXPECT_EQ(std::pair(store.width(40), store.height(40)), std::pair(5, 7));
    store.free(40);
    store.free(12345); // names no image: ignored
    EXPECT_EQ(store.slotCount(), 56u);
    for (const int n : {15, 16, 39, 40, 1000, -2})
        EXPECT_TRUE(!store.handle(n) && !store.target(n) && store.width(n) == 0 && store.height(n) == 0
                    && store.depth(n, kDepthSource) == 0) << n;

    const auto a = store.create(kAutoNumber, 3, 2, 32);
    const auto b = store.create(kAutoNumber, 4, 2, 32);
    ASSERT_TRUE(a && b);
    EXPECT_LT(*a, kAutoNumber);
    EXPECT_EQ(std::pair(store.width(*a), store.width(*b)), std::pair(3, 4));
    store.free(*a);
    EXPECT_EQ(std::pair(store.width(*a), store.width(*b)), std::pair(0, 4));
    store.free(kAutoNumber);
    EXPECT_EQ(std::pair(store.width(*b), store.width(0)), std::pair(0, 0));
    EXPECT_TRUE(store.create(kAutoNumber, kMaxSide, 1, 32));
}

// Every colour type at each of 1, 8 and 16 bits it allows (2 and 4 bits
// unpack as 1 does; one interlaced row has 2), and with tRNS where it may
// have one at the depths that decide its source depth; interlaced below
// 8 bits and at 16 with passes that run short (13 x 11), and with passes
// that stay empty (1 x 1). The checksums are CRC-32s of the RGBA bytes an
// oracle written for this test, apart from any PNG library, worked out from
// the stored samples and the palette: samples scaled by 255 / (2^depth - 1),
// 16 bits by their high byte, palette entries past the alpha table opaque,
// a pixel of the tRNS colour clear.
TEST_F(Store, EveryPngColourTypeAndBitDepthGivesRgbaAndItsSourceDepth)
{
    constexpr int kPalette = PNG_COLOR_TYPE_PALETTE;
    constexpr int kGrey = PNG_COLOR_TYPE_GRAY;
    constexpr int kGreyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA;
    constexpr int kRgb = PNG_COLOR_TYPE_RGB;
    constexpr int kRgba = PNG_COLOR_TYPE_RGBA;
    const struct {
        PngLayout layout;
        int sourceDepth;
        uLong rgbaCrc;
    } cases[] = {
        {{kPalette, 1, 5, 3}, 1, 0xD3EE971B},
        {{kPalette, 8, 5, 3}, 8, 0x548B1F56},
        {{kGrey, 1, 5, 3}, 1, 0x28DF0531},
        {{kGrey, 8, 5, 3}, 8, 0x082C4503},
        {{kGrey, 16, 5, 3}, 16, 0x0DBCD860},
        {{kGreyAlpha, 8, 5, 3}, 8, 0x76B9982D},
        {{kGreyAlpha, 16, 5, 3}, 16, 0x55F03444},
        {{kRgb, 8, 5, 3}, 24, 0x1B62DC04},
        {{kRgb, 16, 5, 3}, 24, 0x3352DEBF},
        {{kRgba, 8, 5, 3}, 32, 0xB4843E09},
        {{kRgba, 16, 5, 3}, 32, 0xD0778EB2},
        {{kPalette, 1, 5, 3, false, true}, 32, 0x30C0BA90},
        {{kPalette, 8, 5, 3, false, true}, 32, 0x548B1F56}, // no index under 5: all opaque
        {{kGrey, 1, 5, 3, false, true}, 8, 0x57DA34DB},
        {{kGrey, 8, 5, 3, false, true}, 8, 0x06353E56},
        {{kGrey, 16, 5, 3, false, true}, 16, 0x03A5A335},
        {{kRgb, 8, 5, 3, false, true}, 32, 0x157BA751},
        {{kRgb, 16, 5, 3, false, true}, 32, 0x3D4BA5EA},
        {{kPalette, 2, 13, 11, true}, 2, 0x4F7930D9},
        {{kRgb, 16, 13, 11, true, true}, 32, 0x6F56999D},
        {{kGreyAlpha, 8, 1, 1, true}, 8, 0xB9EE8C4F},
    };
    for (const auto& c : cases) {
        const PngLayout& l = c.layout;
        SCOPED_TRACE(::testing::Message() << "colour type " << l.colourType << ", " << l.bitDepth << " bits"
                                          << (l.trns ? " tRNS " : " ") << l.width << "x" << l.height);
        const DecodeOutcome decoded = store.decode(3, encodePng(l, pattern(l)));
        ASSERT_EQ(decoded.number, 3);
        EXPECT_EQ(std::tuple(decoded.complete, store.width(3), store.height(3), store.depth(3, kDepthSource), store.depth(3, 0)),
                  std::tuple(true, l.width, l.height, c.sourceDepth, 32));
        const PixelView view = store.handle(3);
        ASSERT_EQ(view.stride, std::size_t(l.width) * 4);
        EXPECT_EQ(crc32(0, view.pixels, uInt(view.stride) * uInt(l.height)), c.rgbaCrc);
    }
}

// BMP files written at every depth the encoder takes, and made by hand,
// whole or broken off: the rows present arrive bottom up, the rows missing
// stay opaque black, run-length data and odd depths deliver none.
TEST_F(Store, BmpFilesWrittenOrMadeByHandGiveTheirRowsBottomUp)
{
    // 3 x 2: top row red, half-transparent green, white; bottom row black.
    const int picture = *store.create(kAutoNumber, 3, 2, 32);
    const std::uint8_t top[] = {255, 0, 0, 255, 0, 200, 0, 128, 255, 255, 255, 255};
    std::copy(std::begin(top), std::end(top), store.handle(picture).pixels);
    for (const int depth : {0, 2, 16, 31})
        EXPECT_FALSE(store.save(picture, home.path() / "x.bmp", kCodecBmp, SaveFlags::None, depth).ok()) << depth;
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));

    const Bytes black = {0, 0, 0, 255, 0, 0, 0, 255};
    // Written colours are flattened onto white (green 200 at alpha 128 gives
    // 127, 227, 127) and stored blue-green-red, bottom row first, rows padded
    // to 4 bytes. Depth 1 is black then white by luminance: only white is
    // light (the green's alpha plays no part).
    const Bytes flattened = {255, 0, 0, 255, 127, 227, 127, 255, 255, 255, 255, 255};
    const struct {
        const char* name;
        int writtenDepth; // 0: the file is made by hand
        // Written: the file expected, but past its end (a colour table the
        // quantiser chose, and rows) only the size its header gives.
        Bytes file;
        int sourceDepth;
        Bytes pixels; // top row first
    } cases[] = {
        {"written at 24 bits", 24, bmpHeaders(3, 2, 24, 0, 24, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                                       0, 0, 255, 127, 227, 127, 255, 255, 255, 0, 0, 0}), 24, flattened},
        {"written at 32 bits", 32, bmpHeaders(3, 2, 32, 0, 24, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                                       0, 0, 255, 0, 127, 227, 127, 0, 255, 255, 255, 0}), 32, flattened},
        {"written at 1 bit", 1, bmpHeaders(3, 2, 1, 0, 8, 2, {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0x20, 0, 0, 0}),
         1, {0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 255}},
        {"written at 4 bits", 4, bmpHeaders(3, 2, 4, 0, 8, 16), 4, {}},
        {"written at 8 bits", 8, bmpHeaders(3, 2, 8, 0, 8, 256), 8, {}},
        // 5 pixels of 16 bits, red in bits 10-14: 0x7C00, 0x03E0, 0x001F,
        // 0x7FFF, 0x0421, padded to 12 bytes.
        {"555_16_bit.bmp", 0, bmpHeaders(5, 1, 16, 0, 12, 0, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F, 0x21, 0x04, 0, 0}),
         16, {248, 0, 0, 255, 0, 248, 0, 255, 0, 0, 248, 255, 248, 248, 248, 255, 8, 8, 8, 255}},
        {"one_of_two_rows.bmp", 0, bmpHeaders(1, 2, 24, 0, 4, 0, {1, 2, 3, 0}), 24, {0, 0, 0, 255, 3, 2, 1, 255}},
        {"rle8.bmp", 0, bmpHeaders(2, 1, 8, 1, 0), 8, black},
        {"12_bit.bmp", 0, bmpHeaders(2, 1, 12, 0, 0), 12, black},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = c.file;
        if (c.writtenDepth) {
            ASSERT_TRUE(store.save(picture, home.path() / "a.bmp", kCodecBmp, SaveFlags::None, c.writtenDepth).ok());
            const std::string written = th::testing::readBytes(home.path() / "a.bmp");
            file.assign(written.begin(), written.end());
            EXPECT_EQ(Bytes(file.begin(), file.begin() + std::ptrdiff_t(std::min(file.size(), c.file.size()))), c.file);
            EXPECT_EQ(file.size(), std::size_t(c.file[2] | c.file[3] << 8));
        }
        ASSERT_EQ(store.decode(5, file).number, 5);
        EXPECT_EQ(store.depth(5, kDepthSource), c.sourceDepth);
        const Bytes back(store.handle(5).pixels, store.handle(5).pixels + store.handle(5).stride * std::size_t(store.height(5)));
        EXPECT_EQ(Bytes(back.begin(), back.begin() + std::ptrdiff_t(c.pixels.size())), c.pixels);
        for (std::size_t i = 12; c.writtenDepth && i < 24; i += 4)
            EXPECT_LT(back[i] + back[i + 1] + back[i + 2], 60) << "the black row decodes dark through the table";
    }
}

// Damaged and hostile data, each named by its defect: no crash and no hang.
// Headers are checked before any pixel is allocated: damage there refuses
// the data and leaves the store alone, and a size beyond the budget is
// refused with the declared size, so a few bytes cannot ask for gigabytes.
// Damage in the pixel data gives the image with the rows read before it.
TEST_F(Store, DamagedDataIsRefusedOrGivesTheRowsBeforeTheDamage)
{
    // Rows of 8-bit noise, so that the compressed data spans many IDAT chunks.
    const std::string noise = th::testing::noiseBytes(64 * 64 * 4, 12345);
    const Bytes pixels(noise.begin(), noise.end());
    const Bytes good = encodePng({PNG_COLOR_TYPE_RGBA, 8, 64, 64}, pixels);

    Bytes bmpReserved = bmpHeaders(1, 1, 24, 0, 4);
    bmpReserved[7] = 1;
    const int side = kDecodeBudgetSide;
    using enum DecodeStatus;
    const struct {
        const char* name;
        Bytes data;
        DecodeStatus status;
        std::optional<std::pair<int, int>> declared = {};
        DecodeLimits limits = {};
    } headers[] = {
        {"zero_width.png", damaged(good, kIhdr + 8, be32(0)), Damaged},
        {"bad_ihdr_crc.png", damaged(good, kIhdr + 9, {1}, {}), Damaged},
        {"seven_bytes.png", Bytes(good.begin(), good.begin() + 7), NotAPicture},
        {"gif_signature.gif", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, NotAPicture},
        {"empty", {}, NotAPicture},
        {"reserved_set.bmp", bmpReserved, Damaged},
        {"zero_width.bmp", bmpHeaders(0, 1, 24, 0, 0), Damaged},
        {"negative_height.bmp", bmpHeaders(1, -1, 24, 0, 0), Damaged},
        {"cut_in_header.bmp", Bytes(bmpReserved.begin(), bmpReserved.begin() + 40), Damaged},
        {"truncated_30000x30000.png", claiming(good, 30000, 30000), TooLarge, {{30000, 30000}}},
        {"width_40000.png", claiming(good, 40000, 8), TooLarge, {{40000, 8}}},
        {"bmp_30000x30000_54_bytes.bmp", bmpHeaders(30000, 30000, 24, 0, 0), TooLarge, {{30000, 30000}}},
        {"png one row over the budget", claiming(good, side, side + 1), TooLarge, {{side, side + 1}}},
        {"png at the budget", claiming(good, side, side), Decoded, {{side, side}}},
        {"png 64x64 under a 4095-pixel limit", good, TooLarge, {{64, 64}}, {4095}},
        {"bmp 8x8 under a 63-pixel limit", bmpHeaders(8, 8, 24, 0, 0), TooLarge, {{8, 8}}, {63}},
    };
    for (const auto& c : headers) {
        SCOPED_TRACE(c.name);
        const DecodeOutcome decoded = store.decode(0, c.data, c.limits);
        EXPECT_EQ(decoded.status, c.status);
        if (c.declared) {
            EXPECT_EQ(std::pair(decoded.declaredWidth, decoded.declaredHeight), *c.declared);
        }
        EXPECT_EQ(store.width(0), decoded.ok() ? c.declared->first : 0);
        store.free(0);
    }

    // The picture is reported incomplete; from RGB data the rows missing are
    // opaque black.
    const Bytes interlaced = encodePng({PNG_COLOR_TYPE_RGBA, 8, 64, 64, true}, pixels);
    const Bytes rgb = encodePng({PNG_COLOR_TYPE_RGB, 8, 64, 64}, pixels); // each row the first 192 of its 256 bytes
    // The last IDAT chunk starts with its length, 4 bytes ahead of its name.
    const std::string_view idat = "IDAT";
    const std::size_t lastIdat = std::size_t(std::find_end(good.begin(), good.end(), idat.begin(), idat.end()) - good.begin()) - 4;
    const struct {
        const char* name;
        Bytes data;
        int atLeast; // rows that must arrive whole
        bool rgb = false;
        // The last rows delivered, read from the chunk whose CRC then fails
        // (as libpng reads them too), are not compared.
        int unchecked = 0;
    } broken[] = {
        {"idat_crc_flipped.png", damaged(good, good.size() / 2, {0xAA}, {}), 8, false, 1},
        {"cut_in_half.png", Bytes(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)), 8},
        {"wrong_adler32.png", damaged(good, good.size() - 12 - 4 - 1, {0x5A}, lastIdat), 63},
        {"idat_longer_than_file.png", damaged(good, lastIdat, be32(0x7FFFFFF0), {}), 8},
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
            Bytes expected(pixels.begin() + std::ptrdiff_t(y * 256), pixels.begin() + std::ptrdiff_t(y * 256 + 256));
            for (std::size_t x = 0; c.rgb && x < 64; ++x) {
                const bool arrived = int(y) < delivered.bottom;
                for (std::size_t i = 0; i < 4; ++i)
                    expected[x * 4 + i] = i == 3 ? 255 : arrived ? pixels[y * 256 + x * 3 + i] : 0;
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

} // namespace
