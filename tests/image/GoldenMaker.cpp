// TEMPORARY: prints golden hashes from the plain network, and checks the
// product agrees. Not committed.
#include "image/PaletteQuantiser.h"
#include "PlainQuantiser.h"
#include "testing/TempHome.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <chrono>

namespace {
using Pixels = std::vector<std::uint8_t>;
std::uint64_t fnv(const std::uint8_t* p, std::size_t n)
{
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ p[i]) * 1099511628211ull;
    return h;
}
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
struct In { const char* name; Pixels pixels; int w, h; std::vector<int> depths; bool map; };

TEST(GoldenMaker, Print)
{
    const In ins[] = {
        {"1x1", {200, 100, 50, 255}, 1, 1, {2, 4, 8}, true},
        {"1x1 transparent", {200, 100, 50, 0}, 1, 1, {2, 4, 8}, true},
        {"2x3 alphas", {9, 9, 9, 0, 9, 9, 9, 32, 9, 9, 9, 33, 9, 9, 9, 255, 250, 0, 0, 255, 0, 0, 250, 128}, 2, 3, {2, 4, 8}, true},
        {"3x7", cycling(3, 7), 3, 7, {2, 4, 8}, true},
        {"13x5", cycling(13, 5), 13, 5, {2, 4, 8}, true},
        {"5x150", cycling(5, 150), 5, 150, {2, 4, 8}, true},
        {"noise 64x48", noise(64, 48, 7), 64, 48, {2, 4, 8}, true},
        {"noise 499x2", noise(499, 2, 8), 499, 2, {2, 4, 8}, true},
        {"sheet 200x150", sheetLike(200, 150), 200, 150, {2, 4, 8}, true},
        {"sheet 512x512", sheetLike(512, 512), 512, 512, {2, 4, 8}, true},
        {"sheet 499x491", sheetLike(499, 491), 499, 491, {8}, true},
        {"sheet 511x511", sheetLike(511, 511), 511, 511, {8}, false},
        {"sheet 512x1536", sheetLike(512, 1536), 512, 1536, {8}, false},
        {"sheet 512x3072", sheetLike(512, 3072), 512, 3072, {8}, false},
        {"sheet 512x4608", sheetLike(512, 4608), 512, 4608, {8}, false},
        {"sheet 2048x2048", sheetLike(2048, 2048), 2048, 2048, {8}, false},
    };
    for (const In& in : ins)
        for (int depth : in.depths) {
            SCOPED_TRACE(::testing::Message() << in.name << " " << depth);
            const auto plain = th::image::testing::plainQuantise(in.pixels, in.w, in.h, depth, in.map);
            auto t0 = std::chrono::steady_clock::now();
            auto q = th::image::PaletteQuantiser::create({in.pixels.data(), in.w, in.h, std::size_t(in.w) * 4, 4, false}, depth, th::image::SaveFlags::None);
            ASSERT_TRUE(q);
            std::vector<std::uint8_t> pal, plainPal, idx, plainIdx;
            for (auto e : q->palette()) pal.insert(pal.end(), {e.r, e.g, e.b, e.a});
            for (auto e : plain.palette) plainPal.insert(plainPal.end(), {e.r, e.g, e.b, e.a});
            EXPECT_EQ(pal, plainPal);
            if (in.map) {
                for (int y = 0; y < in.h; ++y) {
                    auto packed = q->mapRow(y);
                    for (int x = 0; x < in.w; ++x) {
                        const int bit = x * depth;
                        idx.push_back(std::uint8_t(packed[std::size_t(bit / 8)] >> (8 - depth - bit % 8) & ((1 << depth) - 1)));
                    }
                }
                for (int i : plain.indices) plainIdx.push_back(std::uint8_t(i));
                EXPECT_EQ(idx, plainIdx);
            }
            auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            std::printf("GOLDEN %s | %d | 0x%016llx | 0x%016llx | %.1f ms\n", in.name, depth,
                        (unsigned long long)fnv(plainPal.data(), plainPal.size()),
                        (unsigned long long)(in.map ? fnv(plainIdx.data(), plainIdx.size()) : 0), ms);
        }
}
} // namespace
