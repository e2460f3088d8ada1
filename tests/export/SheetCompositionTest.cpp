// The sheet's size and the drawing of sprites into it, checked pixel by pixel.

#include "SheetFile.h"

#include "export/SheetComposer.h"
#include "export/SheetSize.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace th::exporting;
using namespace th::exporting::testing;
using th::canvas::SpriteList;

const Rgba kClear{0, 0, 0, 0};
const Rgba kRed{255, 0, 0, 255};

class Composition : public ::testing::Test {
protected:
    // Adds a sprite at the end of the drawing order.
    void place(int picture, int x, int y, bool rotated = false)
    {
        sprites.add({.image = picture, .x = x, .y = y, .rotated = rotated, .name = {}});
    }
    int solid(int w, int h, Rgba colour)
    {
        return makePicture(images, w, h, [=](int, int) { return colour; });
    }
    // Each pixel tells where in its picture it came from.
    int coded(int w, int h)
    {
        return makePicture(images, w, h, [](int u, int v) { return codeOf(u, v); });
    }
    static Rgba codeOf(int u, int v) { return {u * 6, v * 12, 1, 255}; }

    int compose(int w, int h)
    {
        const std::optional<int> sheet = composeSheet(images, sprites, w, h);
        EXPECT_TRUE(sheet);
        return sheet.value_or(0);
    }

    th::image::ImageStore images;
    SpriteList sprites;
};

TEST(SheetSize, PowersOfTwoFromTwoToFourThousandNinetySix)
{
    for (const auto& [size, rounded] : {std::pair{0, 2}, {1, 2}, {2, 2}, {3, 4}, {256, 256}, {257, 512},
                                        {4095, 4096}, {4096, 4096}, {4097, 4097}, {4100, 4100}})
        EXPECT_EQ(roundToPowerOfTwo(size), rounded) << size;
    EXPECT_EQ(std::pair(sheetSizeFor(100, 60, true).width, sheetSizeFor(100, 60, true).height), std::pair(128, 64));
    EXPECT_EQ(std::pair(sheetSizeFor(100, 60, false).width, sheetSizeFor(100, 60, false).height), std::pair(100, 60));
}

// Turned corners and the overlap order are read back from exported files in
// ExportWindowTest.
TEST_F(Composition, PicturesAreCutAtEveryEdgeOfTheSheet)
{
    place(coded(6, 5), -2, -3);
    place(coded(6, 4), 5, -2, true); // 4 wide, 6 tall, partly above the sheet
    place(coded(9, 9), 6, 6);        // runs past the right and the bottom
    const int sheet = compose(8, 8);
    EXPECT_EQ(pixelOf(images, sheet, 0, 0), codeOf(2, 3));
    EXPECT_EQ(pixelOf(images, sheet, 3, 1), codeOf(5, 4));
    EXPECT_EQ(pixelOf(images, sheet, 4, 0), kClear);
    // Column 5 + v, row -2 + 6 - 1 - u.
    EXPECT_EQ(pixelOf(images, sheet, 5, 0), codeOf(3, 0));
    EXPECT_EQ(pixelOf(images, sheet, 7, 3), codeOf(0, 2));
    EXPECT_EQ(pixelOf(images, sheet, 6, 4), kClear);
    EXPECT_EQ(pixelOf(images, sheet, 7, 7), codeOf(1, 1));
}

TEST_F(Composition, TranslucentPixelsComposeAsPorterDuffOver)
{
    struct Case {
        Rgba under, over;
    };
    const Case cases[] = {
        {{200, 10, 90, 255}, {10, 250, 40, 128}}, {{90, 60, 30, 100}, {30, 200, 255, 60}},
        {{255, 255, 255, 1}, {0, 0, 0, 1}},       {{17, 34, 51, 3}, {240, 120, 60, 254}},
        {{5, 6, 7, 0}, {80, 90, 100, 200}},       {{80, 90, 100, 77}, {1, 2, 3, 0}},
        {{12, 200, 99, 10}, {250, 251, 252, 255}}, {{100, 150, 200, 33}, {200, 150, 100, 32}},
    };
    for (const Case& c : cases) {
        sprites.clear();
        place(solid(1, 1, c.under), 0, 0);
        place(solid(1, 1, c.over), 0, 0);
        const int sheet = compose(1, 1);
        const double sa = c.over[3] / 255.0;
        const double da = c.under[3] / 255.0;
        const double alpha = sa + da * (1 - sa);
        Rgba expected = kClear;
        if (alpha > 0) {
            for (std::size_t i = 0; i < 3; ++i)
                expected[i] = int(std::lround((c.over[i] * sa + c.under[i] * da * (1 - sa)) / alpha));
            expected[3] = int(std::lround(alpha * 255));
        }
        if (c.over[3] == 0)
            expected = c.under; // nothing is drawn, whatever the colour under it
        EXPECT_EQ(pixelOf(images, sheet, 0, 0), expected) << c.over[3] << " over " << c.under[3];
    }
}

TEST_F(Composition, ASpriteWithoutPictureIsPassedOverAndASheetOfNoSizeIsRefused)
{
    place(solid(2, 2, kRed), 0, 0);
    place(9999, 0, 0);
    EXPECT_EQ(pixelOf(images, compose(2, 2), 1, 1), kRed);
    EXPECT_FALSE(composeSheet(images, sprites, 0, 5));
    EXPECT_FALSE(composeSheet(images, sprites, 5, 40000));
}

} // namespace
