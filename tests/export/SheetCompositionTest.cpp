// The sheet's size and the drawing of sprites into it, checked pixel by pixel.

#include "SheetFile.h"

#include "export/SheetComposer.h"
#include "export/SheetSize.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace th::exporting;
using namespace th::exporting::testing;
using th::canvas::SpriteEntry;
using th::canvas::SpriteList;

const Rgba kClear{0, 0, 0, 0};
const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};

class Composition : public ::testing::Test {
protected:
    // Adds a sprite at the end of the drawing order.
    void place(int picture, int x, int y, bool rotated = false)
    {
        SpriteEntry entry;
        entry.image = picture;
        entry.x = x;
        entry.y = y;
        entry.rotated = rotated;
        sprites.add(entry);
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
    EXPECT_EQ(roundToPowerOfTwo(0), 2);
    EXPECT_EQ(roundToPowerOfTwo(1), 2);
    EXPECT_EQ(roundToPowerOfTwo(2), 2);
    EXPECT_EQ(roundToPowerOfTwo(3), 4);
    EXPECT_EQ(roundToPowerOfTwo(256), 256);
    EXPECT_EQ(roundToPowerOfTwo(257), 512);
    EXPECT_EQ(roundToPowerOfTwo(4095), 4096);
    EXPECT_EQ(roundToPowerOfTwo(4096), 4096);
    EXPECT_EQ(roundToPowerOfTwo(4097), 4097);
    EXPECT_EQ(roundToPowerOfTwo(4100), 4100);

    const SheetSize rounded = sheetSizeFor(100, 60, true);
    EXPECT_EQ(rounded.width, 128);
    EXPECT_EQ(rounded.height, 64);
    const SheetSize asMeasured = sheetSizeFor(100, 60, false);
    EXPECT_EQ(asMeasured.width, 100);
    EXPECT_EQ(asMeasured.height, 60);
    const SheetSize exact = sheetSizeFor(256, 512, true);
    EXPECT_EQ(exact.width, 256);
    EXPECT_EQ(exact.height, 512);
}

TEST_F(Composition, RotatedPictureTurnsAQuarterCounterClockwise)
{
    // A 40 x 20 picture turned at (10, 10) stands 20 wide and 40 tall.
    place(coded(40, 20), 10, 10, true);
    const int sheet = compose(40, 60);
    EXPECT_EQ(pixelOf(images, sheet, 10, 10), codeOf(39, 0)) << "top-right corner";
    EXPECT_EQ(pixelOf(images, sheet, 10, 49), codeOf(0, 0)) << "top-left corner";
    EXPECT_EQ(pixelOf(images, sheet, 29, 49), codeOf(0, 19)) << "bottom-left corner";
    EXPECT_EQ(pixelOf(images, sheet, 29, 10), codeOf(39, 19)) << "bottom-right corner";
    EXPECT_EQ(pixelOf(images, sheet, 15, 30), codeOf(19, 5));
    for (const auto& [x, y] : {std::pair{9, 10}, {30, 10}, {10, 9}, {10, 50}, {29, 50}})
        EXPECT_EQ(pixelOf(images, sheet, x, y), kClear) << x << ", " << y;
}

TEST_F(Composition, UprightPictureKeepsItsPixelsAndLaterSpritesCoverEarlierOnes)
{
    place(coded(5, 4), 1, 2);
    place(solid(4, 4, kRed), 0, 0);
    place(solid(4, 4, kGreen), 2, 2);
    const int sheet = compose(7, 7);
    EXPECT_EQ(pixelOf(images, sheet, 1, 1), kRed);
    EXPECT_EQ(pixelOf(images, sheet, 3, 3), kGreen) << "the last in the list is on top";
    EXPECT_EQ(pixelOf(images, sheet, 5, 2), kGreen);
    EXPECT_EQ(pixelOf(images, sheet, 5, 4), kGreen);
    EXPECT_EQ(pixelOf(images, sheet, 5, 1), kClear);
    EXPECT_EQ(pixelOf(images, sheet, 6, 5), kClear);
    // The coded picture shows only where the others leave it visible.
    EXPECT_EQ(pixelOf(images, sheet, 1, 4), codeOf(0, 2));
    EXPECT_EQ(pixelOf(images, sheet, 1, 5), codeOf(0, 3));
    EXPECT_EQ(pixelOf(images, sheet, 1, 2), kRed);
}

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
