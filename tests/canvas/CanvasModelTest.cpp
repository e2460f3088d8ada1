#include "canvas/CanvasModel.h"
#include "canvas/CanvasReadouts.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using th::canvas::CanvasModel;
using th::canvas::SpriteEntry;
using th::testing::placed;

TEST(CanvasModel, AddedSpritesAreNumberedOneToN)
{
    CanvasModel canvas;
    canvas.addSprite(placed(0, 0, 8, 8, false, "a.png"));
    canvas.addSprite(placed(8, 0, 8, 8, false, "b.png"));
    canvas.sprites.hitTest(1, 1);
    canvas.sprites.removeCurrent();
    canvas.addSprite(placed(16, 0, 8, 8, false, "c.png"));
    EXPECT_EQ(canvas.nextIndex, 2);
    ASSERT_NE(canvas.sprites.findByIndex(2), nullptr);
    EXPECT_EQ(canvas.sprites.findByIndex(2)->name, "c.png");
}

TEST(UsedArea, EachEdgeIsTheLargestOfAnySpriteLessTheClipOnItsOwnSide)
{
    struct Case {
        std::int32_t clip;
        std::vector<SpriteEntry> sprites;
        std::int32_t width, height;
    };
    const Case cases[] = {
        // The clip comes off the right of upright and the bottom of turned sprites.
        {4, {placed(0, 0, 100, 50), placed(100, 0, 100, 50)}, 196, 50},
        {4, {placed(10, 20, 64, 32, true)}, 74, 48},
        {0, {placed(0, 300, 10, 10), placed(500, 0, 10, 10)}, 510, 310},
        {0, {placed(-40, -30, 20, 20)}, 0, 0},
        {0, {placed(-40, -30, 20, 20), placed(-5, -5, 20, 20)}, 15, 15},
        {3, {}, 0, 0},
    };
    for (const Case& c : cases) {
        CanvasModel canvas;
        canvas.clipMargin = c.clip;
        canvas.sheetExtentX = canvas.sheetExtentY = 99;
        for (const SpriteEntry& sprite : c.sprites)
            canvas.addSprite(sprite);
        canvas.sprites.hitTest(-1000, -1000);
        canvas.measureUsedArea();
        EXPECT_EQ(std::pair(canvas.sheetExtentX, canvas.sheetExtentY), std::pair(c.width, c.height))
            << c.sprites.size() << " sprites, clip " << c.clip;
        EXPECT_EQ(canvas.sprites.current(), canvas.sprites.last()) << "the pass leaves the last current";
    }
}

TEST(Readouts, ShowTheTopLeftOfTheCurrentSpritesVisibleBoxOrZeroAndABlank)
{
    CanvasModel canvas;
    canvas.canvasActive = 1;
    canvas.clipMargin = 6;
    EXPECT_EQ(th::canvas::positionReadout(canvas), "Image X: 0 / Y: 0");
    EXPECT_EQ(th::canvas::nameLabel(canvas), " ");
    canvas.addSprite(placed(10, 20, 40, 40, false, "upright.png"));
    EXPECT_EQ(th::canvas::positionReadout(canvas), "Image X: 16 / Y: 20");
    canvas.addSprite(placed(-30, -7, 40, 40, true, "turned.png"));
    EXPECT_EQ(th::canvas::positionReadout(canvas), "Image X: -30 / Y: -1");
    EXPECT_EQ(th::canvas::nameLabel(canvas), "turned.png");
    canvas.sprites.hitTest(11, 21);
    EXPECT_EQ(th::canvas::nameLabel(canvas), "upright.png");
    canvas.sprites.clear();
    EXPECT_EQ(th::canvas::positionReadout(canvas), "Image X: 0 / Y: 0");
    EXPECT_EQ(th::canvas::nameLabel(canvas), " ");
}

} // namespace
