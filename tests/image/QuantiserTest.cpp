#include "image/Codec.h"
#include "image/PaletteQuantiser.h"

#include "PlainQuantiser.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace th::image;
using th::image::testing::plainQuantise;

using Pixels = std::vector<std::uint8_t>;

PixelRows rowsOf(const Pixels& p, int width, int height)
{
    return {p.data(), width, height, static_cast<std::size_t>(width) * 4, 4, false};
}

std::vector<int> unpackedIndices(PaletteQuantiser& q, int width, int height)
{
    std::vector<int> indices;
    const int depth = q.depth();
    for (int r = 0; r < height; ++r) {
        const auto packed = q.mapRow(r);
        for (int x = 0; x < width; ++x) {
            const int bit = x * depth;
            indices.push_back((packed[static_cast<std::size_t>(bit / 8)] >> (8 - depth - bit % 8)) & ((1 << depth) - 1));
        }
    }
    return indices;
}

Pixels noise(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    Pixels p(static_cast<std::size_t>(width) * height * 4);
    for (auto& b : p)
        b = static_cast<std::uint8_t>(random());
    return p;
}

// Like an exported sheet: black, with shaded boxes and see-through pixels.
Pixels sheetLike(int width, int height)
{
    Pixels p(static_cast<std::size_t>(width) * height * 4, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* q = &p[(static_cast<std::size_t>(y) * width + x) * 4];
            q[3] = 255;
            if ((x / 40 + y / 30) % 2) {
                q[0] = static_cast<std::uint8_t>(x * 3);
                q[1] = static_cast<std::uint8_t>(y * 5 + x);
                q[2] = static_cast<std::uint8_t>(200 - y);
                q[3] = static_cast<std::uint8_t>(x % 7 == 0 ? 0 : x % 7 == 1 ? 32 : x % 7 == 2 ? 33 : 255);
            }
        }
    return p;
}

struct OracleCase {
    const char* name;
    Pixels pixels;
    int width, height;
};

TEST(PaletteQuantiser, MatchesThePlainStepByStepNetworkBitForBit)
{
    const unsigned seed = std::random_device{}();
    std::cout << "noise seed " << seed << "\n";
    const OracleCase cases[] = {
        {"1x1", {200, 100, 50, 255}, 1, 1},
        {"1x1 transparent", {200, 100, 50, 0}, 1, 1},
        {"2x3 alphas", {9, 9, 9, 0, 9, 9, 9, 32, 9, 9, 9, 33, 9, 9, 9, 255, 250, 0, 0, 255, 0, 0, 250, 128}, 2, 3},
        {"noise 64x48", noise(64, 48, seed), 64, 48},
        {"499x2 (stride 491)", noise(499, 2, seed + 1), 499, 2},
        {"sheet 200x150", sheetLike(200, 150), 200, 150},
        {"sheet 512x512 (factor 2)", sheetLike(512, 512), 512, 512},
    };
    for (const OracleCase& c : cases)
        for (const int depth : {2, 4, 8}) {
            SCOPED_TRACE(::testing::Message() << c.name << " depth " << depth);
            const auto plain = plainQuantise(c.pixels, c.width, c.height, depth);
            auto q = PaletteQuantiser::create(rowsOf(c.pixels, c.width, c.height), depth, 0);
            ASSERT_TRUE(q);
            EXPECT_TRUE(std::equal(plain.palette.begin(), plain.palette.end(), q->palette().begin(), q->palette().end()));
            EXPECT_EQ(unpackedIndices(*q, c.width, c.height), plain.indices);
        }
}

TEST(PaletteQuantiser, PacksRowsMostSignificantBitsFirst)
{
    const Pixels white9(9 * 4, 255);
    auto bw = PaletteQuantiser::create(rowsOf(white9, 9, 1), 1, 0);
    const auto row = bw->mapRow(0);
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[0], 0xFF);
    EXPECT_EQ(row[1] & 0x80, 0x80);
    const Pixels three = {0, 0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255};
    auto q = PaletteQuantiser::create(rowsOf(three, 3, 1), 4, 0);
    EXPECT_EQ(q->palette().size(), 16u);
    EXPECT_EQ(q->mapRow(0).size(), 2u);
    EXPECT_FALSE(PaletteQuantiser::create(rowsOf(three, 3, 1), 9, 0));
    EXPECT_FALSE(PaletteQuantiser::create(rowsOf(three, 3, 1), 0, 0));
}

TEST(PaletteQuantiser, DitheringWorksOnACopyAndKeepsTheAverageCloser)
{
    // A grey ramp over four colours: diffusion must bring each column's mean
    // nearer the source than plain mapping does.
    const int width = 256, height = 32;
    Pixels ramp(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0; i < ramp.size(); i += 4) {
        const auto v = static_cast<std::uint8_t>((i / 4) % width);
        ramp[i] = ramp[i + 1] = ramp[i + 2] = v;
        ramp[i + 3] = 255;
    }
    const Pixels original = ramp;
    auto columnError = [&](int flags) {
        auto q = PaletteQuantiser::create(rowsOf(ramp, width, height), 2, flags);
        const auto indices = unpackedIndices(*q, width, height);
        double error = 0;
        for (int x = 0; x < width; ++x) {
            double sum = 0;
            for (int y = 0; y < height; ++y)
                sum += q->palette()[static_cast<std::size_t>(indices[static_cast<std::size_t>(y * width + x)])].g;
            error += std::abs(sum / height - x);
        }
        return error / width;
    };
    const double plain = columnError(0);
    const double dithered = columnError(kSaveFlagDither);
    EXPECT_LT(dithered, plain * 0.75) << "plain " << plain << ", dithered " << dithered;
    EXPECT_EQ(ramp, original);
}

} // namespace
