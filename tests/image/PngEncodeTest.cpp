// PNG saves read back with libpng: the palette depths bit for bit against the
// plain step-by-step network of PlainQuantiser.cpp, depth 1 by luminance,
// dithering, the RGBA depths, the RGB fallback and failed writes.

#include "image/ImageStore.h"
#include "image/PaletteQuantiser.h"
#include "image/PngDecoder.h"
#include "image/PngEncoder.h"

#include "PlainQuantiser.h"
#include "testing/PngFile.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using namespace th::image;
using th::testing::PngFile;
using th::testing::readBytes;
using Pixels = std::vector<std::uint8_t>;
using Bytes = Pixels;

class PngSaving : public ::testing::Test {
protected:
    PngSaving()
    {
        store.registerDecoder(std::make_unique<PngDecoder>());
        store.registerEncoder(std::make_unique<PngEncoder>());
    }
    int imageOf(const Pixels& rgba, int width, int height)
    {
        const int n = *store.create(kAutoNumber, width, height, 32);
        std::copy(rgba.begin(), rgba.end(), store.handle(n).pixels);
        return n;
    }
    // Saves at `depth` and reads the file back with libpng, which must not
    // warn; every row must be written with filter NONE, and the data
    // compressed at level 9 (the header can only say 7 to 9).
    PngFile saved(int n, int depth, SaveFlags flags = SaveFlags::None)
    {
        EXPECT_TRUE(store.save(n, file("p.png"), kCodecPng, flags, depth).ok());
        return readChecked(file("p.png"), depth);
    }
    static PngFile readChecked(const std::filesystem::path& path, int depth)
    {
        PngFile png = th::testing::readPng(path);
        EXPECT_EQ(png.warnings, 0) << "depth " << depth;
        EXPECT_EQ(png.filters, std::vector<int>(std::size_t(png.height), 0));
        EXPECT_EQ(png.zlibLevel, 3) << "depth " << depth;
        return png;
    }
    std::filesystem::path file(const char* name) const { return home.path() / name; }

    th::testing::TempHome home;
    ImageStore store;
};

// The chunk names in order, runs of one name given once.
std::string chunkOrder(const PngFile& png)
{
    std::string order;
    for (std::size_t i = 0; i < png.chunks.size(); ++i)
        if (i == 0 || png.chunks[i] != png.chunks[i - 1])
            order += (order.empty() ? "" : " ") + png.chunks[i];
    return order;
}

// Colours and the alphas 0, 32, 33 and 255 in turn.
Pixels cycling(int width, int height)
{
    Pixels p;
    for (int i = 0; i < width * height; ++i)
        p.insert(p.end(), {std::uint8_t(i * 37), std::uint8_t(i * 91 + 5), std::uint8_t(255 - i * 13),
                           std::uint8_t(i % 4 == 0 ? 0 : i % 4 == 1 ? 32 : i % 4 == 2 ? 33 : 255)});
    return p;
}

Pixels noise(int width, int height, unsigned seed)
{
    const std::string bytes = th::testing::noiseBytes(std::size_t(width) * std::size_t(height) * 4, seed);
    return {bytes.begin(), bytes.end()};
}

// Like an exported sheet: black, with shaded boxes and see-through pixels.
Pixels sheetLike(int width, int height)
{
    Pixels p;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if ((x / 40 + y / 30) % 2 == 0)
                p.insert(p.end(), {0, 0, 0, 255});
            else
                p.insert(p.end(), {std::uint8_t(x * 3), std::uint8_t(y * 5 + x), std::uint8_t(200 - y),
                                   std::uint8_t(x % 7 == 0 ? 0 : x % 7 == 1 ? 32 : x % 7 == 2 ? 33 : 255)});
        }
    return p;
}

TEST_F(PngSaving, PaletteDepthsWriteThePlainNetworksPaletteAndIndicesBitForBit)
{
    const unsigned seed = std::random_device{}();
    std::cout << "noise seed " << seed << "\n";
    struct Case {
        const char* name;
        Pixels pixels;
        int width, height;
    };
    const Case cases[] = {
        {"1x1", {200, 100, 50, 255}, 1, 1},
        {"1x1 transparent", {200, 100, 50, 0}, 1, 1},
        {"2x3 alphas", {9, 9, 9, 0, 9, 9, 9, 32, 9, 9, 9, 33, 9, 9, 9, 255, 250, 0, 0, 255, 0, 0, 250, 128}, 2, 3},
        {"3x7", cycling(3, 7), 3, 7},
        {"13x5", cycling(13, 5), 13, 5},
        {"5x150, more rows than are mapped ahead of the writer", cycling(5, 150), 5, 150},
        {"noise 64x48", noise(64, 48, seed), 64, 48},
        {"499x2 (stride 491)", noise(499, 2, seed + 1), 499, 2},
        {"sheet 200x150", sheetLike(200, 150), 200, 150},
        {"sheet 512x512 (factor 2)", sheetLike(512, 512), 512, 512},
    };
    for (const Case& c : cases) {
        const int n = imageOf(c.pixels, c.width, c.height);
        for (const int depth : {2, 4, 8}) {
            SCOPED_TRACE(::testing::Message() << c.name << " depth " << depth);
            const auto plain = th::image::testing::plainQuantise(c.pixels, c.width, c.height, depth);
            // Asked between its steps whether to go on, the learning learns the same.
            int asked = 0;
            const th::image::RowWatch goOn = [&asked](int rows) {
                asked += rows == 0;
                return true;
            };
            const auto q = PaletteQuantiser::create(
                {c.pixels.data(), c.width, c.height, std::size_t(c.width) * 4, 4, false, &goOn}, depth, SaveFlags::None);
            ASSERT_TRUE(q);
            EXPECT_GT(asked, 0);
            EXPECT_TRUE(std::ranges::equal(q->palette(), plain.palette)) << "alpha included";

            const PngFile png = saved(n, depth);
            EXPECT_EQ(chunkOrder(png), "IHDR PLTE IDAT IEND");
            EXPECT_EQ(std::pair(png.colourType, png.bitDepth), std::pair(int(PNG_COLOR_TYPE_PALETTE), depth));
            EXPECT_FALSE(png.hasTrns);
            ASSERT_EQ(png.palette.size(), plain.palette.size());
            for (std::size_t i = 0; i < png.palette.size(); ++i)
                EXPECT_EQ((PaletteEntry{png.palette[i].red, png.palette[i].green, png.palette[i].blue, plain.palette[i].a}),
                          plain.palette[i]) << "entry " << i;
            // Pixels of alpha 0 take the entry of the smallest alpha.
            const int smallestAlpha = std::ranges::min(plain.palette, {}, &PaletteEntry::a).a;
            std::vector<int> indices;
            for (std::size_t k = 0; k < plain.indices.size(); ++k) {
                indices.push_back(png.rows[k / std::size_t(c.width)][k % std::size_t(c.width)]);
                if (c.pixels[k * 4 + 3] == 0) {
                    EXPECT_EQ(plain.palette[std::size_t(indices.back())].a, smallestAlpha) << "pixel " << k;
                }
            }
            EXPECT_EQ(indices, plain.indices);
        }
    }
}

// The sampling factor grows by one per 262144 pixels: 1 up to 511 x 511, 2
// from 512 x 512 (above), and held at 10 from 2359296 pixels, as at
// 2048 x 2048 where it would be 17. Only the palette depends on it.
TEST_F(PngSaving, TheSamplingFactorStartsAtOneAndStopsAtTen)
{
    for (const int side : {511, 2048}) {
        SCOPED_TRACE(side);
        const Pixels pixels = sheetLike(side, side);
        const auto plain = th::image::testing::plainQuantise(pixels, side, side, 8, false);
        const auto q = PaletteQuantiser::create({pixels.data(), side, side, std::size_t(side) * 4, 4, false}, 8, SaveFlags::None);
        ASSERT_TRUE(q);
        EXPECT_TRUE(std::ranges::equal(q->palette(), plain.palette));
    }
}

TEST_F(PngSaving, DepthOneIsBlackAndWhiteByLuminanceWhateverTheAlpha)
{
    // 10 x 2, so each packed row runs into a second byte; 160 grey comes to
    // just below 160, pure green well above it, pure red well below.
    const Pixels colours[] = {{255, 255, 255}, {160, 160, 160}, {161, 161, 161}, {0, 0, 0}, {0, 255, 0}, {255, 0, 0}};
    const std::uint8_t white[] = {1, 0, 1, 0, 1, 0};
    Pixels rgba;
    std::vector<std::vector<std::uint8_t>> expected(2);
    for (int i = 0; i < 20; ++i) {
        const int k = (i + i / 10) % 6;
        rgba.insert(rgba.end(), colours[k].begin(), colours[k].end());
        rgba.push_back(std::uint8_t(i * 13));
        expected[std::size_t(i / 10)].push_back(white[k]);
    }
    const PngFile png = saved(imageOf(rgba, 10, 2), 1);
    EXPECT_EQ(chunkOrder(png), "IHDR PLTE IDAT IEND");
    EXPECT_EQ(png.bitDepth, 1);
    ASSERT_EQ(png.palette.size(), 2u);
    EXPECT_EQ(png.at(0, 0), (th::testing::Rgba{255, 255, 255, 255}));
    EXPECT_EQ(png.at(3, 0), (th::testing::Rgba{0, 0, 0, 255}));
    EXPECT_EQ(png.rows, expected);
}

TEST_F(PngSaving, DitheringWorksOnACopyAndBringsColumnMeansCloser)
{
    // A grey ramp over four colours: diffusion must bring each column's mean
    // nearer the source than plain mapping does.
    Pixels ramp;
    for (int i = 0; i < 256 * 32; ++i)
        ramp.insert(ramp.end(), {std::uint8_t(i % 256), std::uint8_t(i % 256), std::uint8_t(i % 256), 255});
    const int n = imageOf(ramp, 256, 32);
    const auto columnError = [&](SaveFlags flags) {
        const PngFile png = saved(n, 2, flags);
        double error = 0;
        for (int x = 0; x < 256; ++x) {
            double sum = 0;
            for (int y = 0; y < 32; ++y)
                sum += png.at(x, y)[1];
            error += std::abs(sum / 32 - x);
        }
        return error / 256;
    };
    const double plain = columnError(SaveFlags::None);
    const double dithered = columnError(SaveFlags::Dither);
    EXPECT_LT(dithered, plain * 0.75) << "plain " << plain << ", dithered " << dithered;
    EXPECT_TRUE(std::equal(ramp.begin(), ramp.end(), store.handle(n).pixels));
}

TEST_F(PngSaving, OtherDepthsWriteTheSameRgbaFile)
{
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 7}, {33, 2}}) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height);
        const int n = imageOf(cycling(width, height), width, height);
        const PngFile png = saved(n, 32);
        EXPECT_EQ(png.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
        EXPECT_EQ(std::pair(png.colourType, png.bitDepth), std::pair(int(PNG_COLOR_TYPE_RGBA), 8));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(png.at(x, y), th::testing::pixelOf(store, n, x, y)) << x << ", " << y;
        const std::string bytes32 = readBytes(file("p.png"));
        for (const int depth : {12, 18, 24, -1, 0, 9}) {
            ASSERT_TRUE(store.save(n, file("d.png"), kCodecPng, SaveFlags::None, depth).ok());
            EXPECT_EQ(readBytes(file("d.png")), bytes32) << "depth " << depth;
        }
    }
}

// The image data is compressed in parts of about a megabyte on any number
// of threads: the file is the same byte for byte with 1, 2 and 7 threads,
// libpng reads it without a warning, the pixels are the source's (or the
// quantiser's indices), and a file broken off in the middle still gives its
// first rows.
TEST_F(PngSaving, PartsGiveTheSameFileOnAnyNumberOfThreads)
{
    const struct {
        const char* name;
        int width, height, depth;
        Pixels pixels;
    } cases[] = {
        {"32 bit, 1 x 1", 1, 1, 32, {200, 100, 50, 7}},
        {"32 bit, noise in three parts", 600, 1000, 32, noise(600, 1000, 5)},
        {"32 bit, one row a part", 300000, 3, 32, noise(300000, 3, 6)},
        {"8 bit, sheet in two parts", 1200, 1000, 8, sheetLike(1200, 1000)},
        {"4 bit, sheet in two parts", 2400, 900, 4, sheetLike(2400, 900)},
        {"1 bit, sheet in two parts", 4096, 2100, 1, sheetLike(4096, 2100)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PixelRows source{c.pixels.data(), c.width, c.height, std::size_t(c.width) * 4, 4, false};
        std::string first;
        for (const int threads : {1, 2, 7}) {
            SCOPED_TRACE(threads);
            ASSERT_TRUE(PngEncoder(threads).write(file("t.png"), source, SaveFlags::None, c.depth).ok());
            if (threads == 1)
                first = readBytes(file("t.png"));
            else
                EXPECT_TRUE(readBytes(file("t.png")) == first);
        }
        const PngFile png = readChecked(file("t.png"), c.depth);
        const auto quantiser = c.depth < 32 ? PaletteQuantiser::create(source, c.depth, SaveFlags::None) : nullptr;
        for (int y = 0; y < c.height; ++y) {
            const auto& row = png.rows[std::size_t(y)];
            if (!quantiser) {
                ASSERT_TRUE(std::equal(row.begin(), row.end(), source.row(y))) << "row " << y;
                continue;
            }
            const auto packed = quantiser->mapRow(y);
            for (int x = 0; x < c.width; ++x) {
                const int bit = x * c.depth;
                const int index = packed[std::size_t(bit / 8)] >> (8 - c.depth - bit % 8) & ((1 << c.depth) - 1);
                ASSERT_EQ(row[std::size_t(x)], index) << x << ", " << y;
            }
        }
        if (c.height < 4)
            continue;
        const std::string cut = first.substr(0, first.size() / 2);
        const DecodeOutcome decoded = store.decode(kAutoNumber, {reinterpret_cast<const std::uint8_t*>(cut.data()), cut.size()});
        ASSERT_TRUE(decoded.ok());
        EXPECT_FALSE(decoded.complete);
        const PixelView view = store.handle(decoded.number);
        const auto firstRow = [&](const std::uint8_t* p) { return th::testing::Rgba{p[0], p[1], p[2], p[3]}; };
        EXPECT_EQ(firstRow(view.pixels), png.at(0, 0)) << "the first row arrived";
        EXPECT_EQ(firstRow(view.pixels + std::size_t(c.height / 4) * view.stride), png.at(0, c.height / 4));
        store.free(decoded.number);
    }
}

// Each failure says why, leaves no file (nor temporary) behind and keeps an
// older file whole.
TEST_F(PngSaving, FailuresAreTypedLeaveNoFileAndKeepAnOldOne)
{
    using th::files::FileError;
    using th::image::SaveProblem;
    using th::image::SaveResult;
    const auto file_ = [](FileError cause) { return SaveResult(th::files::failure(cause)); };
    const int n = imageOf(cycling(4, 4), 4, 4);
    th::testing::writeBytes(file("old.png"), "older file");
    std::filesystem::create_directory(file("dir.png"));
    const struct {
        const char* what;
        int number;
        std::filesystem::path path;
        std::uint32_t tag;
        int depth;
        SaveResult expected;
    } cases[] = {
        {"depth 3", n, file("odd.png"), kCodecPng, 3, SaveProblem::Unsupported},
        {"depth 7", n, file("odd.png"), kCodecPng, 7, SaveProblem::Unsupported},
        {"missing folder", n, home.path() / "missing" / "x.png", kCodecPng, 32, file_(FileError::FolderMissing)},
        {"no path", n, "", kCodecPng, 32, SaveProblem::InvalidRequest},
        {"no image", n + 100, file("x.png"), kCodecPng, 32, SaveProblem::InvalidRequest},
        {"no encoder", n, file("x.png"), 0x474946, 32, SaveProblem::InvalidRequest},
        {"over an old file", n, file("old.png"), kCodecPng, 3, SaveProblem::Unsupported},
        {"a folder in the way", n, file("dir.png"), kCodecPng, 8, file_(FileError::IsAFolder)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SaveResult saved = store.save(c.number, c.path, c.tag, SaveFlags::None, c.depth);
        EXPECT_EQ(saved.problem, c.expected.problem);
        EXPECT_EQ(saved.file.cause, c.expected.file.cause);
    }
    EXPECT_EQ(readBytes(file("old.png")), "older file");
    EXPECT_EQ(th::testing::namesIn(home.path()), (std::vector<std::string>{"dir.png", "old.png"}));
}

// An encoder that takes RGB rows only and keeps what it was given.
struct RgbOnlyEncoder final : Encoder {
    explicit RgbOnlyEncoder(Bytes& seen) : seen(seen) {}
    std::uint32_t tag() const override { return 0x545354; }
    bool writesRgba() const override { return false; }
    th::image::SaveResult write(const std::filesystem::path&, const PixelRows& s, SaveFlags, int) const override
    {
        seen.assign(s.pixels, s.pixels + s.stride * static_cast<std::size_t>(s.height));
        if (s.bytesPerPixel == 3 && s.stride == 12)
            return {};
        return th::image::SaveProblem::InvalidRequest;
    }
    Bytes& seen;
};

TEST_F(PngSaving, AnEncoderWithoutRgbaGetsThePixelsFlattenedOntoWhite)
{
    Bytes seen;
    store.registerEncoder(std::make_unique<RgbOnlyEncoder>(seen));
    const int n = *store.create(kAutoNumber, 3, 1, 32, Fill::TransparentBlack);
    const std::uint8_t pixels[] = {100, 0, 255, 128, 7, 8, 9, 255, 7, 8, 9, 0};
    std::copy(std::begin(pixels), std::end(pixels), store.handle(n).pixels);
    ASSERT_TRUE(store.save(n, file("t"), 0x545354, SaveFlags::None, 32).ok());
    // ((255 - a) * 255 + v * a) / 255, each row padded to 12 bytes.
    EXPECT_EQ(seen, (Bytes{177, 127, 255, 7, 8, 9, 255, 255, 255, 0, 0, 0}));
}

// The tests' own reader is an oracle only while it trusts nothing: a chunk
// whose length runs past the end of the file is refused, not read beyond.
TEST_F(PngSaving, TheTestReaderRefusesAChunkLongerThanTheFile)
{
    const int n = imageOf(cycling(4, 4), 4, 4);
    ASSERT_TRUE(store.save(n, file("p.png"), kCodecPng, SaveFlags::None, 32).ok());
    const std::string good = readBytes(file("p.png"));
    const std::string tails[] = {std::string("\x7F\xFF\xFF\xF0IDATcrc!", 12), std::string("\0\0\0", 3)};
    for (const std::string& tail : tails) {
        SCOPED_TRACE(tail.size());
        th::testing::writeBytes(file("p.png"), good + tail);
        EXPECT_THROW(th::testing::readPng(file("p.png")), std::runtime_error);
    }
}

} // namespace
