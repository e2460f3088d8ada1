// Whole sheet saves: flattening at the alpha edge, the depths that keep
// alpha, palette files, and what happens on failure. libpng reads the files.

#include "SheetFile.h"

#include "export/SheetPixels.h"
#include "export/SheetSave.h"
#include "image/PngEncoder.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using namespace th::exporting;
using namespace th::exporting::testing;
using th::testing::TempHome;

const Rgba kEdgeColour{200, 100, 50, 0};

class SheetSave : public ::testing::Test {
protected:
    void SetUp() override { images.registerEncoder(std::make_unique<th::image::PngEncoder>()); }
    void place(int picture, int x, int y) { sprites.add({.image = picture, .x = x, .y = y, .name = {}}); }
    SheetResult save(const std::string& name, int w, int h, int depth, th::image::Colour background = kBlackBackground)
    {
        return saveSpriteSheet(images, sprites, {home.path() / name, w, h, depth, background});
    }
    // Every image number made between two probes is free again, so the
    // sheet made in between is gone.
    void expectNoImageLeftSince(int probeBefore)
    {
        const std::optional<int> probeAfter = images.create(th::image::kAutoNumber, 1, 1, 0);
        ASSERT_TRUE(probeAfter);
        ASSERT_LT(*probeAfter, probeBefore - 1) << "a sheet was made in between";
        for (int number = probeBefore - 1; number > *probeAfter; --number)
            EXPECT_EQ(images.width(number), 0) << "image " << number << " is still there";
    }
    int probe()
    {
        const int number = images.create(th::image::kAutoNumber, 1, 1, 0).value();
        images.free(number);
        return number;
    }

    TempHome home;
    th::image::ImageStore images;
    th::canvas::SpriteList sprites;
};

// One column each of alpha 0, 32, 33, 128 and 255, placed at x 2.
int alphaEdgePicture(th::image::ImageStore& images)
{
    static constexpr int kAlphas[] = {0, 32, 33, 128, 255};
    return makePicture(images, 5, 2, [](int u, int) {
        Rgba colour = kEdgeColour;
        colour[3] = kAlphas[u];
        return colour;
    });
}

TEST_F(SheetSave, FlatteningKeepsAlphaAbove32AndFillsTheRestWithTheBackground)
{
    place(alphaEdgePicture(images), 2, 0);
    const Rgba own{200, 100, 50, 255};
    for (int depth : {32, 24}) {
        for (const auto& [background, fill] : {std::pair{kBlackBackground, Rgba{0, 0, 0, 255}},
                                               std::pair{kMagentaBackground, Rgba{255, 0, 255, 255}}}) {
            const int before = probe();
            ASSERT_EQ(save("flat.png", 8, 3, depth, background), SheetResult::Written);
            expectNoImageLeftSince(before);
            const SheetFile sheet = readSheet(home.path() / "flat.png");
            EXPECT_EQ(sheet.colourType, PNG_COLOR_TYPE_RGBA);
            const std::vector<Rgba> row{fill, fill, fill, fill, own, own, own, fill};
            EXPECT_EQ(sheet.rows, (std::vector<std::vector<Rgba>>{row, row, std::vector<Rgba>(8, fill)})) << depth;
        }
    }
}

// The level nearest to `value` among 2^bits evenly spaced from 0 to 255.
int nearestLevel(int value, int bits)
{
    const int top = (1 << bits) - 1;
    double best = 0;
    for (int k = 0; k <= top; ++k) {
        const double level = k * 255.0 / top;
        if (std::abs(level - value) < std::abs(best - value))
            best = level;
    }
    return int(std::lround(best));
}

TEST_F(SheetSave, TwelveAndEighteenBitKeepAlphaWithCoarserChannelsInASmallerFile)
{
    // A smooth picture with a see-through frame and a fading edge.
    const int picture = makePicture(images, 256, 256, [](int u, int v) {
        const int alpha = (u < 4 || v < 4) ? (u + v) % 64 : (u > 240 ? 255 - (u - 240) * 14 : 255);
        return Rgba{u, v, (u + v) / 2, alpha};
    });
    place(picture, 0, 0);
    ASSERT_EQ(save("32.png", 256, 256, 32), SheetResult::Written);
    const auto size32 = std::filesystem::file_size(home.path() / "32.png");
    for (int depth : {12, 18}) {
        const int bits = depth / 3;
        const std::string name = std::to_string(depth) + ".png";
        ASSERT_EQ(save(name, 256, 256, depth), SheetResult::Written);
        EXPECT_LT(std::filesystem::file_size(home.path() / name), size32) << depth << " bit";
        const SheetFile sheet = readSheet(home.path() / name);
        EXPECT_EQ(sheet.colourType, PNG_COLOR_TYPE_RGBA);
        for (int v = 0; v < 256; ++v) {
            for (int u = 0; u < 256; ++u) {
                const Rgba source = pixelOf(images, picture, u, v);
                Rgba expected{0, 0, 0, 0};
                if (source[3] > 32) {
                    for (std::size_t i = 0; i < 4; ++i)
                        expected[i] = nearestLevel(source[i], bits);
                }
                ASSERT_EQ(sheet.at(u, v), expected) << depth << " bit at " << u << ", " << v;
            }
        }
    }
}

// The palette depths' file layout is read back in ExportWindowTest.

TEST_F(SheetSave, FailuresLeaveNoFileAndNoSheetBehind)
{
    place(alphaEdgePicture(images), 0, 0);
    th::testing::writeBytes(home.path() / "plain-file", "not a folder");
    int before = probe();
    EXPECT_EQ(save("plain-file/sheet.png", 5, 2, 32), SheetResult::NotWritten);
    expectNoImageLeftSince(before);
    EXPECT_FALSE(std::filesystem::exists(home.path() / "plain-file/sheet.png"));

    EXPECT_EQ(save("none.png", 0, 2, 32), SheetResult::NotComposed);
    EXPECT_FALSE(std::filesystem::exists(home.path() / "none.png"));
}

} // namespace
