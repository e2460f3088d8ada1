#include "image/ImageStore.h"
#include "image/PaletteQuantiser.h"
#include "image/PngDecoder.h"
#include "image/PngEncoder.h"

#include "PngFiles.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using namespace th::image;
using namespace th::image::testing;
using th::testing::readBytes;

class PngSaving : public ::testing::Test {
protected:
    PngSaving()
    {
        store.registerDecoder(std::make_unique<PngDecoder>());
        store.registerEncoder(std::make_unique<PngEncoder>());
    }
    // An image whose pixels run through colours and the alphas 0, 32, 33, 255.
    int makeImage(int width, int height)
    {
        const int n = *store.create(kAutoNumber, width, height, 32);
        const PixelView v = store.handle(n);
        const int alphas[] = {0, 32, 33, 255};
        for (int i = 0; i < width * height; ++i) {
            std::uint8_t* p = v.pixels + i * 4;
            p[0] = static_cast<std::uint8_t>(i * 37);
            p[1] = static_cast<std::uint8_t>(i * 91 + 5);
            p[2] = static_cast<std::uint8_t>(255 - i * 13);
            p[3] = static_cast<std::uint8_t>(alphas[i % 4]);
        }
        return n;
    }
    std::filesystem::path file(const char* name) const { return home.path() / name; }
    std::size_t filesInHome() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(home.path()), {}));
    }

    th::testing::TempHome home;
    ImageStore store;
};

PixelRows rowsOf(const PixelView& v) { return {v.pixels, v.width, v.height, v.stride, 4, false}; }

// The filter type byte that starts every row of the inflated IDAT data.
std::vector<int> rowFilters(const std::filesystem::path& png, std::size_t rowBytes, int height)
{
    const std::string bytes = readBytes(png);
    Bytes compressed;
    for (std::size_t at = 8; at + 12 <= bytes.size();) {
        const std::size_t length = static_cast<std::uint8_t>(bytes[at]) << 24 | static_cast<std::uint8_t>(bytes[at + 1]) << 16
                                   | static_cast<std::uint8_t>(bytes[at + 2]) << 8 | static_cast<std::uint8_t>(bytes[at + 3]);
        if (bytes.compare(at + 4, 4, "IDAT") == 0)
            compressed.insert(compressed.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                              bytes.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        at += 12 + length;
    }
    Bytes raw((rowBytes + 1) * static_cast<std::size_t>(height));
    uLongf size = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &size, compressed.data(), compressed.size()), Z_OK);
    EXPECT_EQ(size, raw.size());
    std::vector<int> filters;
    for (int r = 0; r < height; ++r)
        filters.push_back(raw[static_cast<std::size_t>(r) * (rowBytes + 1)]);
    return filters;
}

TEST_F(PngSaving, PaletteDepthsWriteThePaletteAndIndicesOfTheQuantiser)
{
    // 150 rows: more than the rows a palette save maps ahead of the writer.
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 7}, {9, 2}, {13, 5}, {5, 150}}) {
        const int n = makeImage(width, height);
        for (const int depth : {1, 2, 4, 8}) {
            SCOPED_TRACE(::testing::Message() << width << "x" << height << " depth " << depth);
            ASSERT_TRUE(store.save(n, file("p.png"), kCodecPng, 0, depth));
            const PngContents png = readPngFile(file("p.png"));
            EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_PALETTE);
            EXPECT_EQ(png.bitDepth, depth);
            EXPECT_FALSE(png.hasTrns);
            EXPECT_EQ(png.chunks.front(), "IHDR");
            EXPECT_EQ(png.chunks[1], "PLTE");
            EXPECT_EQ(png.chunks.back(), "IEND");
            EXPECT_EQ(std::count(png.chunks.begin(), png.chunks.end(), "IDAT") + 3, png.chunks.size());
            ASSERT_EQ(png.palette.size(), std::size_t{1} << depth);

            auto q = PaletteQuantiser::create(rowsOf(store.handle(n)), depth, 0);
            for (std::size_t i = 0; i < png.palette.size(); ++i) {
                EXPECT_EQ(png.palette[i].red, q->palette()[i].r);
                EXPECT_EQ(png.palette[i].green, q->palette()[i].g);
                EXPECT_EQ(png.palette[i].blue, q->palette()[i].b);
            }
            for (int r = 0; r < height; ++r) {
                const auto packed = q->mapRow(r);
                for (int x = 0; x < width; ++x) {
                    const int bit = x * depth;
                    const int index = (packed[static_cast<std::size_t>(bit / 8)] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
                    EXPECT_EQ(png.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(x)], index);
                }
            }
            for (const int filter : rowFilters(file("p.png"), (static_cast<std::size_t>(width * depth) + 7) / 8, height))
                EXPECT_EQ(filter, 0);
        }
    }
}

TEST_F(PngSaving, DepthOneIsBlackAndWhiteByLuminance)
{
    const int n = *store.create(kAutoNumber, 3, 1, 32);
    const PixelView v = store.handle(n);
    const std::uint8_t pixels[] = {255, 255, 255, 255, 160, 160, 160, 255, 161, 161, 161, 0};
    std::copy(std::begin(pixels), std::end(pixels), v.pixels);
    ASSERT_TRUE(store.save(n, file("bw.png"), kCodecPng, 0, 1));
    const PngContents png = readPngFile(file("bw.png"));
    ASSERT_EQ(png.palette.size(), 2u);
    EXPECT_EQ(png.palette[0].red + png.palette[0].green + png.palette[0].blue, 0);
    EXPECT_EQ(png.palette[1].red & png.palette[1].green & png.palette[1].blue, 255);
    // 160 grey sums to just below 160; alpha plays no part.
    EXPECT_EQ(png.rows[0], (Bytes{1, 0, 1}));
}

TEST_F(PngSaving, TransparentPixelsTakeTheEntryWithTheSmallestAlpha)
{
    const int n = makeImage(16, 16);
    auto q = PaletteQuantiser::create(rowsOf(store.handle(n)), 4, 0);
    const auto palette = q->palette();
    const auto smallest = std::min_element(palette.begin(), palette.end(), [](auto& a, auto& b) { return a.a < b.a; });
    for (int r = 0; r < 16; ++r) {
        const auto packed = q->mapRow(r);
        for (int x = 0; x < 16; x += 4) // alpha 0 pixels
            EXPECT_EQ(palette[(packed[static_cast<std::size_t>(x / 2)] >> 4) & 15].a, smallest->a);
    }
}

TEST_F(PngSaving, OtherDepthsWriteTheSameRgbaFileThatDecodesBackExactly)
{
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 7}, {5, 3}, {33, 2}}) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height);
        const int n = makeImage(width, height);
        ASSERT_TRUE(store.save(n, file("32.png"), kCodecPng, 0, 32));
        for (const int depth : {12, 18, 24, -1, 0, 9}) {
            ASSERT_TRUE(store.save(n, file("d.png"), kCodecPng, 0, depth));
            EXPECT_EQ(readBytes(file("d.png")), readBytes(file("32.png"))) << "depth " << depth;
        }
        const PngContents png = readPngFile(file("32.png"));
        EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGBA);
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
        for (const int filter : rowFilters(file("32.png"), static_cast<std::size_t>(width) * 4, height))
            EXPECT_EQ(filter, 0);
        const std::string bytes = readBytes(file("32.png"));
        const auto back = store.decode(kAutoNumber, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        ASSERT_TRUE(back);
        const PixelView a = store.handle(n), b = store.handle(*back);
        EXPECT_TRUE(std::equal(a.pixels, a.pixels + width * height * 4, b.pixels));
    }
}

TEST_F(PngSaving, FailuresLeaveNoFileAndKeepAnOldOne)
{
    const int n = makeImage(4, 4);
    for (const int depth : {3, 5, 6, 7})
        EXPECT_FALSE(store.save(n, file("odd.png"), kCodecPng, 0, depth));
    EXPECT_EQ(filesInHome(), 0u);
    EXPECT_FALSE(store.save(n, home.path() / "missing" / "x.png", kCodecPng, 0, 32));
    EXPECT_FALSE(store.save(n, "", kCodecPng, 0, 32));
    EXPECT_FALSE(store.save(n + 100, file("x.png"), kCodecPng, 0, 32));
    EXPECT_FALSE(store.save(n, file("x.png"), 0x474946, 0, 32));
    EXPECT_EQ(filesInHome(), 0u);

    th::testing::writeBytes(file("old.png"), "older file");
    EXPECT_FALSE(store.save(n, file("old.png"), kCodecPng, 0, 3));
    EXPECT_EQ(readBytes(file("old.png")), "older file");
    // A folder in the way of the final rename.
    std::filesystem::create_directory(file("dir.png"));
    EXPECT_FALSE(store.save(n, file("dir.png"), kCodecPng, 0, 8));
    EXPECT_EQ(filesInHome(), 2u);
}

// An encoder that takes RGB rows only and keeps what it was given.
struct RgbOnlyEncoder final : Encoder {
    explicit RgbOnlyEncoder(Bytes& seen) : seen(seen) {}
    std::uint32_t tag() const override { return 0x545354; }
    bool writesRgba() const override { return false; }
    bool write(const std::filesystem::path&, const PixelRows& s, int, int) const override
    {
        seen.assign(s.pixels, s.pixels + s.stride * static_cast<std::size_t>(s.height));
        return s.bytesPerPixel == 3 && s.stride == 12;
    }
    Bytes& seen;
};

TEST_F(PngSaving, AnEncoderWithoutRgbaGetsThePixelsFlattenedOntoWhite)
{
    Bytes seen;
    store.registerEncoder(std::make_unique<RgbOnlyEncoder>(seen));
    const int n = *store.create(kAutoNumber, 3, 1, 32 | kFormatClear);
    const std::uint8_t pixels[] = {100, 0, 255, 128, 7, 8, 9, 255, 7, 8, 9, 0};
    std::copy(std::begin(pixels), std::end(pixels), store.handle(n).pixels);
    ASSERT_TRUE(store.save(n, file("t"), 0x545354, 0, 32));
    // ((255 - a) * 255 + v * a) / 255, each row padded to 12 bytes.
    EXPECT_EQ(seen, (Bytes{177, 127, 255, 7, 8, 9, 255, 255, 255, 0, 0, 0}));
}

} // namespace
