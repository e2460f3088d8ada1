#include "canvas/AlphaClip.h"
#include "PlacedSprite.h"
#include "RecordingDisplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using th::canvas::CanvasModel;
using th::canvas::clipAlphaImage;
using th::canvas::expandAlphaClip;
using th::canvas::SpriteEntry;
using th::canvas::testing::placed;
using th::canvas::testing::RecordingDisplay;

// The margins after each of four clips with the given sprite selected; a
// narrow sprite elsewhere on the canvas must not limit them.
std::vector<std::int32_t> marginsAfterClipping(const SpriteEntry& selected)
{
    CanvasModel model;
    RecordingDisplay display;
    model.addSprite(placed(0, 0, 2, 2));
    model.addSprite(selected);
    std::vector<std::int32_t> margins;
    for (int i = 0; i < 4; ++i) {
        clipAlphaImage(model, display);
        margins.push_back(model.clipMargin);
    }
    EXPECT_EQ(display.redraws, 4);
    return margins;
}

TEST(AlphaClip, GrowsInStepsOfTwoWhileBelowHalfTheSelectedPictureWidth)
{
    EXPECT_EQ(marginsAfterClipping(placed(0, 0, 10, 50)), (std::vector<std::int32_t>{2, 4, 6, 6}));
    EXPECT_EQ(marginsAfterClipping(placed(0, 0, 9, 50)), (std::vector<std::int32_t>{2, 4, 4, 4}));
    // Turned, the picture's width is the height on the canvas.
    EXPECT_EQ(marginsAfterClipping(placed(0, 0, 50, 10, true)), (std::vector<std::int32_t>{2, 4, 6, 6}));
}

TEST(AlphaClip, ReadoutFollowsTheMarginAndExpandingStopsAtZero)
{
    CanvasModel model;
    RecordingDisplay display;
    model.addSprite(placed(100, 40, 10, 10));
    clipAlphaImage(model, display);
    EXPECT_EQ(display.positions.back(), "Image X: 102 / Y: 40");
    EXPECT_EQ(model.sheetExtentX, 108);

    std::vector<std::int32_t> margins;
    for (int i = 0; i < 2; ++i) {
        expandAlphaClip(model, display);
        margins.push_back(model.clipMargin);
    }
    EXPECT_EQ(margins, (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(display.redraws, 3);
    EXPECT_EQ(display.positions, (std::vector<std::string>{"Image X: 102 / Y: 40", "Image X: 100 / Y: 40",
                                                           "Image X: 100 / Y: 40"}));
}

TEST(AlphaClip, EmptyCanvasIsLeftAlone)
{
    CanvasModel model;
    RecordingDisplay display;
    model.canvasActive = 1;
    model.clipMargin = 2;
    clipAlphaImage(model, display);
    expandAlphaClip(model, display);
    EXPECT_EQ(model.clipMargin, 2);
    EXPECT_TRUE(display.untouched());
}

} // namespace
