#include "canvas/CanvasModel.h"
#include "canvas/CanvasReadouts.h"
#include "PlacedSprite.h"

#include <gtest/gtest.h>

namespace {

using th::canvas::CanvasModel;
using th::canvas::testing::placed;

TEST(CanvasModel, StartsAsAnEmptyCanvas)
{
    const CanvasModel canvas;
    EXPECT_TRUE(canvas.sprites.empty());
    EXPECT_EQ(canvas.nextIndex, 0);
    EXPECT_EQ(canvas.clipMargin, 0);
    EXPECT_EQ(canvas.placeX, 0);
    EXPECT_EQ(canvas.placeY, 0);
    EXPECT_EQ(canvas.sheetExtentX, 0);
    EXPECT_EQ(canvas.sheetExtentY, 0);
    EXPECT_EQ(canvas.canvasActive, 0);
}

TEST(CanvasModel, AddedSpritesAreNumberedOneToN)
{
    CanvasModel canvas;
    canvas.addSprite(placed(0, 0, 8, 8, false, "a.png"));
    canvas.addSprite(placed(8, 0, 8, 8, false, "b.png"));
    EXPECT_EQ(canvas.nextIndex, 2);
    canvas.sprites.hitTest(1, 1); // "a" goes to the end
    canvas.sprites.removeCurrent();
    canvas.addSprite(placed(16, 0, 8, 8, false, "c.png"));
    EXPECT_EQ(canvas.nextIndex, 2);
    ASSERT_NE(canvas.sprites.findByIndex(1), nullptr);
    EXPECT_EQ(canvas.sprites.findByIndex(1)->name, "b.png");
    ASSERT_NE(canvas.sprites.findByIndex(2), nullptr);
    EXPECT_EQ(canvas.sprites.findByIndex(2)->name, "c.png");
}

TEST(UsedArea, TheClipComesOffTheRightOfUprightSprites)
{
    CanvasModel canvas;
    canvas.clipMargin = 4;
    canvas.addSprite(placed(0, 0, 100, 50));
    canvas.addSprite(placed(100, 0, 100, 50));
    canvas.sprites.hitTest(-1, -1);
    canvas.measureUsedArea();
    EXPECT_EQ(canvas.sheetExtentX, 196);
    EXPECT_EQ(canvas.sheetExtentY, 50);
    EXPECT_EQ(canvas.sprites.current(), canvas.sprites.last());
}

TEST(UsedArea, TheClipComesOffTheBottomOfRotatedSprites)
{
    CanvasModel canvas;
    canvas.clipMargin = 4;
    // A 32 by 64 picture turned: 64 wide, 32 high on the canvas.
    canvas.addSprite(placed(10, 20, 64, 32, true));
    canvas.measureUsedArea();
    EXPECT_EQ(canvas.sheetExtentX, 74);
    EXPECT_EQ(canvas.sheetExtentY, 48);
}

TEST(UsedArea, EachEdgeIsTheLargestOfAnySprite)
{
    CanvasModel canvas;
    canvas.addSprite(placed(0, 300, 10, 10));
    canvas.addSprite(placed(500, 0, 10, 10));
    canvas.measureUsedArea();
    EXPECT_EQ(canvas.sheetExtentX, 510);
    EXPECT_EQ(canvas.sheetExtentY, 310);
}

TEST(UsedArea, SpritesLeftOfOrAboveTheOriginAddNothingAndAnEmptyListMeasuresZero)
{
    CanvasModel canvas;
    canvas.addSprite(placed(-40, -30, 20, 20));
    canvas.measureUsedArea();
    EXPECT_EQ(canvas.sheetExtentX, 0);
    EXPECT_EQ(canvas.sheetExtentY, 0);

    canvas.addSprite(placed(-5, -5, 20, 20));
    canvas.measureUsedArea();
    EXPECT_EQ(canvas.sheetExtentX, 15);
    EXPECT_EQ(canvas.sheetExtentY, 15);

    canvas.sprites.clear();
    canvas.measureUsedArea();
    EXPECT_EQ(canvas.sheetExtentX, 0);
    EXPECT_EQ(canvas.sheetExtentY, 0);
}

TEST(Readouts, ShowTheTopLeftOfTheCurrentSpritesVisibleBox)
{
    CanvasModel canvas;
    canvas.clipMargin = 6;
    canvas.addSprite(placed(10, 20, 40, 40, false, "upright.png"));
    EXPECT_EQ(th::canvas::positionReadout(canvas), "Image X: 16 / Y: 20");
    EXPECT_EQ(th::canvas::nameLabel(canvas), "upright.png");

    canvas.addSprite(placed(-30, -7, 40, 40, true, "turned.png"));
    EXPECT_EQ(th::canvas::positionReadout(canvas), "Image X: -30 / Y: -1");
    EXPECT_EQ(th::canvas::nameLabel(canvas), "turned.png");

    canvas.sprites.hitTest(11, 21);
    EXPECT_EQ(th::canvas::nameLabel(canvas), "upright.png");
}

TEST(Readouts, AnActiveCanvasWithoutSpritesShowsZeroAndABlank)
{
    CanvasModel canvas;
    canvas.canvasActive = 1;
    canvas.clipMargin = 2;
    EXPECT_EQ(th::canvas::positionReadout(canvas), "Image X: 0 / Y: 0");
    EXPECT_EQ(th::canvas::nameLabel(canvas), " ");

    canvas.addSprite(placed(3, 4, 10, 10));
    canvas.sprites.clear();
    EXPECT_EQ(th::canvas::positionReadout(canvas), "Image X: 0 / Y: 0");
    EXPECT_EQ(th::canvas::nameLabel(canvas), " ");
}

} // namespace
