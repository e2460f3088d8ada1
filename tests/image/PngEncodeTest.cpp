// PNG saves read back with libpng: the palette depths against golden palettes
// and indices, the network's two instruction sets against each other, depth
// 1 by luminance, dithering, the RGBA depths, the RGB fallback and failed
// writes.

#include "image/BmpDecoder.h"
#include "image/ImageStore.h"
#include "image/NetworkLanes.h"
#include "image/PaletteQuantiser.h"
#include "image/PngDecoder.h"
#include "image/PngEncoder.h"

#include "testing/PngFile.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>

namespace {

using namespace th::image;
using th::testing::PngFile;
using th::testing::readBytes;
using Bytes = std::vector<std::uint8_t>;

class PngSaving : public ::testing::Test {
protected:
    PngSaving()
    {
        store.registerDecoder(std::make_unique<PngDecoder>());
        store.registerEncoder(std::make_unique<PngEncoder>());
    }
    // Writes the pixels at `depth` with 1, 2 and 7 threads, which must give
    // the same file, and reads it back with libpng, which must not warn;
    // every row must be written with filter NONE, and the data compressed at
    // level 9 (the header can only say 7 to 9).
    PngFile written(const Bytes& rgba, int width, int height, int depth)
    {
        const PixelRows source{rgba.data(), width, height, std::size_t(width) * 4, 4, false};
        const auto write = [&](int threads) {
            EXPECT_TRUE(PngEncoder(threads).write(file("t.png"), source, SaveFlags::None, depth).ok()) << threads;
            return readBytes(file("t.png"));
        };
        const std::string one = write(1);
        EXPECT_TRUE(write(2) == one) << "2 threads";
        EXPECT_TRUE(write(7) == one) << "7 threads";
        PngFile png = th::testing::readPng(file("t.png"));
        EXPECT_EQ(std::pair(png.filters, png.zlibLevel), std::pair(std::vector<int>(std::size_t(png.height), 0), 3));
        return png;
    }
    std::filesystem::path file(const char* name) const { return home.path() / name; }

    th::testing::TempHome home;
    ImageStore store;
};

// Colours and the alphas 0, 32, 33 and 255 in turn.
Bytes cycling(int width, int height)
{
    Bytes p;
    for (int i = 0; i < width * height; ++i)
        p.insert(p.end(), {std::uint8_t(i * 37), std::uint8_t(i * 91 + 5), std::uint8_t(255 - i * 13),
                           std::uint8_t(i % 4 == 0 ? 0 : i % 4 == 1 ? 32 : i % 4 == 2 ? 33 : 255)});
    return p;
}

Bytes noise(int width, int height, unsigned seed)
{
    const std::string bytes = th::testing::noiseBytes(std::size_t(width) * std::size_t(height) * 4, seed);
    return {bytes.begin(), bytes.end()};
}

// Like an exported sheet: black, with shaded boxes and see-through pixels.
Bytes sheetLike(int width, int height)
{
    Bytes p(std::size_t(width) * std::size_t(height) * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool black = (x / 40 + y / 30) % 2 == 0;
            const std::uint8_t alpha = x % 7 == 0 ? 0 : x % 7 == 1 ? 32 : x % 7 == 2 ? 33 : 255;
            const std::uint8_t pixel[] = {std::uint8_t(x * 3), std::uint8_t(y * 5 + x), std::uint8_t(200 - y), alpha};
            for (std::size_t c = 0; c < 4; ++c)
                p[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4 + c] = black ? c / 3 * 255 : pixel[c];
        }
    return p;
}

// FNV-1a over the bytes: golden palettes and index lists in one number each.
std::uint64_t hashOf(const Bytes& bytes)
{
    std::uint64_t hash = 14695981039346656037u;
    for (const std::uint8_t b : bytes)
        hash = (hash ^ b) * 1099511628211u;
    return hash;
}

constexpr std::uint32_t kRgbOnly = 0x545354;

// An encoder that takes RGB rows only and keeps what it was given.
struct RgbOnlyEncoder final : Encoder {
    explicit RgbOnlyEncoder(Bytes& seen) : seen(seen) {}
    std::uint32_t tag() const override { return kRgbOnly; }
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

// The golden palettes were made once by a plain step-by-step copy of the
// network, and the quantiser matched them bit for bit then. The inputs reach
// every branch of the learning: subnormal moves on black and clear samples,
// neighbours past both ends of the network, opaque, clear and part-clear
// samples, the sample strides 499, 491 (499 x 2) and 487 (499 x 491), and
// the sampling factors 1 (511 x 511), 2 (512 x 512), 4 and 7 (each a step
// of the rate's decay) and 17 held at 10 (2048 x 2048); depth 4 only sizes
// the same network between depths 2 and 8. Only the palette depends on the
// stride and the factor, so those rows are not saved; 5 x 150 has more rows
// than are mapped ahead of the writer. The golden indices of the rows without
// a golden palette were made from the quantiser's own rows (mapRow, unpacked
// bit by bit) when the file's indices matched them. The image data is
// compressed in parts of about a megabyte (the large rows make two or three,
// or one a row); depths that are not a palette's write the source as RGBA.
TEST_F(PngSaving, EachDepthWritesItsPaletteAndIndicesOrTheSourceAsRgba)
{
    const Bytes alphas = {9, 9, 9, 0, 9, 9, 9, 32, 9, 9, 9, 33, 9, 9, 9, 255, 250, 0, 0, 255, 0, 0, 250, 128};
    struct Case {
        Bytes pixels;
        int width, height, depth;
        std::uint64_t palette, indices; // palette 0: not quantised here; indices 0: RGBA, or not saved
    };
    const Case cases[] = {
        {{200, 100, 50, 255}, 1, 1, 2, 0x13a5f71d4eda6b52, 0xaf63bc4c8601b62c},
        {{200, 100, 50, 255}, 1, 1, 8, 0x9a6c305e8a2e6b7d, 0xaf63d84c8601e5c0},
        {{200, 100, 50, 0}, 1, 1, 2, 0x88201fb960ff6465, 0xaf63bc4c8601b62c},
        {{200, 100, 50, 0}, 1, 1, 8, 0x47411f54b3e0c169, 0xaf63be4c8601b992},
        {alphas, 2, 3, 2, 0x9b8fa65e96c4cb86, 0x5f4f23e95dd4b263},
        {alphas, 2, 3, 8, 0x5a17b095ad7d306d, 0x73cc51fa52b7524e},
        {cycling(5, 150), 5, 150, 2, 0x52245f070d370e65, 0x6a0c18eca7e940f2},
        {cycling(5, 150), 5, 150, 8, 0x8aa3a5d52b5ac31d, 0xffc5bafd3452a5ab},
        {noise(64, 48, 7), 64, 48, 2, 0xa446bdc88df9d36e, 0x287133d80a01f37f},
        {noise(64, 48, 7), 64, 48, 8, 0xff7fad882a216658, 0x89fba4bb06ed0725},
        {noise(499, 2, 8), 499, 2, 2, 0x23c2196e5e5cf3f1, 0x5a619a5d22500ece},
        {noise(499, 2, 8), 499, 2, 8, 0x2e6b521c92f72aed, 0xb69d6c20eb885b9f},
        {sheetLike(512, 512), 512, 512, 2, 0xc42109b93475ccdf, 0xde04d7d8896288fd},
        {sheetLike(512, 512), 512, 512, 4, 0x31924b24796fd9a4, 0xf1defe60d9d79c21},
        {sheetLike(512, 512), 512, 512, 8, 0xce584d0304067e15, 0x27a45caad74df902},
        {sheetLike(499, 491), 499, 491, 8, 0x12c6685342ee777a, 0},
        {sheetLike(511, 511), 511, 511, 8, 0x5a03eca9788d8dc7, 0},
        {sheetLike(512, 1536), 512, 1536, 8, 0x78c93c2fd8d9b2f7, 0},
        {sheetLike(512, 3072), 512, 3072, 8, 0x18c47c065e5d40bb, 0},
        {sheetLike(2048, 2048), 2048, 2048, 8, 0x320918da8e064b29, 0},
        {sheetLike(1200, 1000), 1200, 1000, 8, 0, 0x2cd228a34ca8e869},
        {sheetLike(2400, 900), 2400, 900, 4, 0, 0x78f6be40b45bdb76},
        {sheetLike(4096, 2100), 4096, 2100, 1, 0, 0x5867496dcc535517},
        {{200, 100, 50, 7}, 1, 1, 32, 0, 0},
        {cycling(7, 3), 7, 3, 24, 0, 0},
        {cycling(3, 2), 3, 2, 0, 0, 0},
        {cycling(3, 2), 3, 2, 9, 0, 0},
        {noise(600, 1000, 5), 600, 1000, 32, 0, 0},
        {noise(300000, 3, 6), 300000, 3, 32, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " alpha " << int(c.pixels[3]) << " depth " << c.depth);
        Bytes palette;
        if (c.palette != 0) {
            // Asked between its steps whether to go on, the learning learns the same.
            int asked = 0;
            const th::image::RowWatch goOn = [&asked](int rows) {
                asked += rows == 0;
                return true;
            };
            const auto q = PaletteQuantiser::create(
                {c.pixels.data(), c.width, c.height, std::size_t(c.width) * 4, 4, false, &goOn}, c.depth, SaveFlags::None);
            ASSERT_TRUE(q);
            EXPECT_GT(asked, 0);
            for (const PaletteEntry& e : q->palette())
                palette.insert(palette.end(), {e.r, e.g, e.b, e.a});
            EXPECT_EQ(hashOf(palette), c.palette);
        }
        const bool indexed = c.depth == 1 || c.depth == 2 || c.depth == 4 || c.depth == 8;
        if (indexed && c.indices == 0)
            continue;

        const PngFile png = written(c.pixels, c.width, c.height, c.depth);
        EXPECT_EQ(png.chunks, indexed ? "IHDR PLTE IDAT IEND" : "IHDR IDAT IEND");
        EXPECT_EQ(std::pair(png.colourType, png.bitDepth), indexed ? std::pair(int(PNG_COLOR_TYPE_PALETTE), c.depth)
                                                                   : std::pair(int(PNG_COLOR_TYPE_RGBA), 8));
        if (!palette.empty()) {
            Bytes inFile; // with the quantiser's alphas, as the file has none
            for (std::size_t i = 0; i < png.palette.size(); ++i)
                inFile.insert(inFile.end(), {png.palette[i].red, png.palette[i].green, png.palette[i].blue, palette.at(i * 4 + 3)});
            EXPECT_EQ(inFile, palette);
        }
        // The golden indices give pixels of alpha 0 the entry of the
        // smallest alpha.
        EXPECT_EQ(hashOf(png.samples), indexed ? c.indices : hashOf(c.pixels));
    }

    // Depth 1 is black and white by luminance, whatever the alpha. 10 x 2, so
    // each packed row runs into a second byte; 160 grey comes to just below
    // 160, pure green well above it, pure red well below.
    const Bytes colours[] = {{255, 255, 255}, {160, 160, 160}, {161, 161, 161}, {0, 0, 0}, {0, 255, 0}, {255, 0, 0}};
    const std::uint8_t white[] = {1, 0, 1, 0, 1, 0};
    Bytes rgba, expected;
    for (int i = 0; i < 20; ++i) {
        const int k = (i + i / 10) % 6;
        rgba.insert(rgba.end(), colours[k].begin(), colours[k].end());
        rgba.push_back(std::uint8_t(i * 13));
        expected.push_back(white[k]);
    }
    const PngFile png = written(rgba, 10, 2, 1);
    EXPECT_EQ(png.at(0, 0), (th::testing::Rgba{255, 255, 255, 255}));
    EXPECT_EQ(png.at(3, 0), (th::testing::Rgba{0, 0, 0, 255}));
    EXPECT_EQ(png.samples, expected);
}

struct Network {
    alignas(32) double alpha[256], blue[256], green[256], red[256], bias[256], freq[256];
    ContestNeurons view(int netsize) { return {alpha, blue, green, red, bias, freq, netsize}; }
};

// The network's two instruction sets against each other: the quantiser takes
// AVX2 where the processor has it, so the golden palettes above cover only
// one of them on any machine. Here SSE2 and AVX2 run on the same networks
// and samples and must agree in winners and in every bit of the decayed
// frequencies and biases and of the moved channels.
TEST(NetworkLanes, Sse2AndAvx2AgreeBitForBit)
{
    if (!__builtin_cpu_supports("avx2"))
        GTEST_SKIP() << "no AVX2 on this processor";
    const unsigned seed = std::random_device{}();
    std::cout << "seed " << seed << "\n";
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> channel(0.0, 255.0), small(-2.0, 2.0);
    for (int round = 0; round < 2000; ++round) {
        const int netsize = 4 << (round % 7); // 4 ... 256
        Network sse2{};
        for (int j = 0; j < netsize; ++j) {
            // Every fourth neuron repeats the one before, so ties occur.
            for (double* c : {sse2.alpha, sse2.blue, sse2.green, sse2.red})
                c[j] = j % 4 == 3 ? c[j - 1] : channel(random);
            sse2.bias[j] = small(random);
            sse2.freq[j] = 1.0 / netsize + small(random) / 4096;
        }
        Network avx2 = sse2;
        const double weights[] = {1.0, 0.0, 0.5, 1.0 - (1.0 - 32 / 255.0) * (1.0 - 32 / 255.0)};
        const ContestSample sample{channel(random), channel(random), channel(random), channel(random),
                                   weights[round % 4], 1073741824.0, 1.0 / 1024.0, 1024.0};
        SCOPED_TRACE(::testing::Message() << "round " << round << ", " << netsize << " neurons");
        const ContestWinners bySse2 = contestAnyWeight<Sse2Lanes>(sse2.view(netsize), sample);
        const ContestWinners byAvx2 = contestAvx2(avx2.view(netsize), sample);
        ASSERT_EQ(std::pair(bySse2.bestpos, bySse2.bestbiaspos), std::pair(byAvx2.bestpos, byAvx2.bestbiaspos));
        ASSERT_EQ(std::memcmp(&sse2, &avx2, sizeof sse2), 0) << "biases or frequencies";

        // Moves around a winner anywhere, with subnormal channels near a zero
        // target, neighbours reaching past either end, and some factors 0.
        const int winner = int(random() % unsigned(netsize));
        const int reach = int(random() % 33);
        const double target[4] = {0.0, 0.0, channel(random), channel(random)};
        for (int j = 0; j < netsize; j += 3)
            sse2.alpha[j] = avx2.alpha[j] = std::numeric_limits<double>::denorm_min() * j;
        double factor[2 * 36 + 1], moves[2 * 36 + 1];
        for (int d = -36; d <= 36; ++d) {
            factor[36 + d] = d % 5 == 0 ? 0.0 : channel(random) / 255.0;
            const std::uint64_t bits = d > -reach && d < reach ? ~std::uint64_t{0} : 0;
            std::memcpy(&moves[36 + d], &bits, sizeof bits);
        }
        auto movesOf = [&](Network& n) {
            return NeuronMoves{{n.alpha, n.blue, n.green, n.red}, {target[0], target[1], target[2], target[3]},
                               factor + 36, moves + 36, winner, std::max(winner - reach, 0), std::min(winner + reach, netsize - 1)};
        };
        moveLanes<Sse2Lanes>(movesOf(sse2));
        moveAvx2(movesOf(avx2));
        ASSERT_EQ(std::memcmp(&sse2, &avx2, sizeof sse2), 0) << "moved channels";
    }
}

// Dithering works on a copy of the pixels and carries each row's error into
// the row below, so a BMP, stored bottom row first, is still mapped top first
// and shows the PNG's pixels. Over a grey ramp it brings
// each column's mean nearer the source than plain mapping does.
TEST_F(PngSaving, DitheringCarriesEachRowsErrorDownOnACopy)
{
    store.registerDecoder(std::make_unique<BmpDecoder>());
    // The rows differ in their low bits, so rows mapped out of order show.
    Bytes ramp;
    for (int i = 0; i < 256 * 32; ++i) {
        const auto grey = std::uint8_t((i % 256) ^ (i / 256 % 8));
        ramp.insert(ramp.end(), {grey, grey, grey, 255});
    }
    const int n = *store.create(kAutoNumber, 256, 32, 32);
    std::copy(ramp.begin(), ramp.end(), store.handle(n).pixels);
    const auto savedPixels = [&](const char* name, std::uint32_t codec, SaveFlags flags, int depth) {
        EXPECT_TRUE(store.save(n, file(name), codec, flags, depth).ok());
        const std::string bytes = readBytes(file(name));
        const int back = store.decode(kAutoNumber, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}).number;
        const Bytes pixels(store.handle(back).pixels, store.handle(back).pixels + ramp.size());
        store.free(back);
        return pixels;
    };
    const auto columnError = [&](const Bytes& pixels) {
        double error = 0;
        for (std::size_t x = 0; x < 256; ++x) {
            double sum = 0;
            for (std::size_t at = x * 4; at < ramp.size(); at += 256 * 4)
                sum += pixels[at] - ramp[at];
            error += std::abs(sum / 32);
        }
        return error / 256;
    };
    // Depth 4 stands for every palette depth but 1: they dither through the
    // same code, and depth 1 maps by luminance alone.
    const Bytes dithered = savedPixels("d.png", kCodecPng, SaveFlags::Dither, 4);
    const double plain = columnError(savedPixels("p.png", kCodecPng, SaveFlags::None, 4));
    EXPECT_LT(columnError(dithered), plain * 0.75) << "plain " << plain;
    EXPECT_EQ(savedPixels("d.bmp", kCodecBmp, SaveFlags::Dither, 4), dithered);
    EXPECT_TRUE(std::equal(ramp.begin(), ramp.end(), store.handle(n).pixels));
}

// Each failure says why. What a refused or failed write leaves on disk is
// the writer's to keep right, and its own tests check it. An encoder that
// takes RGB rows only gets the pixels flattened onto white.
TEST_F(PngSaving, FailuresAreTypedAndAnEncoderWithoutRgbaGetsRgb)
{
    Bytes seen;
    store.registerEncoder(std::make_unique<RgbOnlyEncoder>(seen));
    const int n = *store.create(kAutoNumber, 3, 1, 32);
    const std::uint8_t pixels[] = {100, 0, 255, 128, 7, 8, 9, 255, 7, 8, 9, 0};
    std::copy(std::begin(pixels), std::end(pixels), store.handle(n).pixels);
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
        {"no path", n, "", kCodecPng, 32, SaveProblem::InvalidRequest},
        {"no image", n + 100, file("x.png"), kCodecPng, 32, SaveProblem::InvalidRequest},
        {"no encoder", n, file("x.png"), 0x474946, 32, SaveProblem::InvalidRequest},
        {"a folder in the way", n, file("dir.png"), kCodecPng, 8, SaveResult(th::files::failure(th::files::FileError::IsAFolder))},
        {"RGB only", n, file("t"), kRgbOnly, 32, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SaveResult saved = store.save(c.number, c.path, c.tag, SaveFlags::None, c.depth);
        EXPECT_EQ(std::pair(saved.problem, saved.file.cause), std::pair(c.expected.problem, c.expected.file.cause));
    }
    // ((255 - a) * 255 + v * a) / 255, each row padded to 12 bytes.
    EXPECT_EQ(seen, (Bytes{177, 127, 255, 7, 8, 9, 255, 255, 255, 0, 0, 0}));
}

} // namespace
