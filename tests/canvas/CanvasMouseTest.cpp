#include "canvas/CanvasMouse.h"
#include "PlacedSprite.h"
#include "RecordingDisplay.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using th::canvas::CanvasModel;
using th::canvas::CanvasMouse;
using th::canvas::SpriteEntry;
using th::canvas::testing::placed;
using th::canvas::testing::RecordingDisplay;

class CanvasMouseTest : public ::testing::Test {
protected:
    // A click as the view reports it: the pointer, tracked with no button
    // held, comes to the point and then the button goes down there.
    void click(std::int32_t x, std::int32_t y)
    {
        mouse.pointerMoved(x, y);
        mouse.leftPressed(x, y);
    }
    void rightClick(std::int32_t x, std::int32_t y)
    {
        mouse.pointerMoved(x, y);
        mouse.rightPressed(x, y);
    }

    CanvasModel model;
    RecordingDisplay display;
    CanvasMouse mouse{model, display};
};

TEST_F(CanvasMouseTest, AnyPointOfTheFullBoxHoldsTheSpriteAtHalfOpacityUntilRelease)
{
    // The picture's pixels play no part, so a transparent corner still picks.
    model.addSprite(placed(10, 20, 30, 40));
    model.canvasActive = 1;
    const SpriteEntry& sprite = *model.sprites.first();
    const std::vector<std::pair<std::int32_t, std::int32_t>> inside{{10, 20}, {39, 20}, {10, 59}, {39, 59}};
    const std::vector<std::pair<std::int32_t, std::int32_t>> outside{{9, 20}, {40, 20}, {10, 19}, {10, 60}};
    for (const auto& [x, y] : inside) {
        click(x, y);
        EXPECT_FLOAT_EQ(sprite.opacity, 0.5f) << x << "," << y;
        const int redrawsWhileHeld = display.redraws;
        mouse.leftReleased(x, y);
        EXPECT_FLOAT_EQ(sprite.opacity, 1.0f);
        EXPECT_GT(display.redraws, redrawsWhileHeld);
    }
    for (const auto& [x, y] : outside) {
        click(x, y);
        EXPECT_FLOAT_EQ(sprite.opacity, 1.0f) << x << "," << y;
        mouse.leftReleased(x, y);
    }
}

TEST_F(CanvasMouseTest, EachEventActsWhereThePointerWasAtThePreviousOne)
{
    model.addSprite(placed(0, 0, 10, 10));
    model.canvasActive = 1;
    const SpriteEntry& sprite = *model.sprites.first();

    mouse.pointerMoved(5, 5);
    mouse.leftPressed(500, 500);
    EXPECT_FLOAT_EQ(sprite.opacity, 0.5f);
    mouse.leftReleased(500, 500);

    mouse.pointerMoved(500, 500);
    mouse.leftPressed(5, 5);
    EXPECT_FLOAT_EQ(sprite.opacity, 1.0f);
}

// Picks a 32-pixel sprite at (16, 16) 5 pixels inside, drags the pointer so
// that the sprite's corner would be at (d, d), and answers where it lands.
std::pair<std::int32_t, std::int32_t> dropAfterDragging(bool snap, std::int32_t d)
{
    CanvasModel model;
    RecordingDisplay display;
    CanvasMouse mouse(model, display);
    model.addSprite(placed(16, 16, 32, 32));
    model.canvasActive = 1;
    mouse.setSnapToGrid(snap);
    mouse.pointerMoved(21, 21);
    mouse.leftPressed(21, 21);
    // The first move acts on the press point, the second on the first.
    mouse.pointerMoved(d + 5, d + 5);
    mouse.pointerMoved(d + 5, d + 5);
    mouse.leftReleased(d + 5, d + 5);
    const SpriteEntry& sprite = *model.sprites.first();
    EXPECT_EQ(display.positions.back(),
              "Image X: " + std::to_string(sprite.x) + " / Y: " + std::to_string(sprite.y));
    EXPECT_EQ(model.sheetExtentX, sprite.x + 32);
    return {sprite.x, sprite.y};
}

// Turning, the pick on top, an empty-canvas press and an inactive canvas are
// driven through the real window in the window tests.

TEST(CanvasDrag, SnapGoesToTheNextGridLineTowardPositive)
{
    const std::vector<std::pair<std::int32_t, std::int32_t>> examples{
        {0, 8}, {13, 16}, {16, 24}, {-3, 8}, {-8, 0}, {-13, 0}, {-16, -8}, {35, 40}};
    for (const auto& [d, expected] : examples) {
        SCOPED_TRACE(d);
        EXPECT_EQ(dropAfterDragging(true, d), std::make_pair(expected, expected));
    }
    EXPECT_EQ(dropAfterDragging(false, 35), std::make_pair(35, 35));
    EXPECT_EQ(dropAfterDragging(false, -3), std::make_pair(-3, -3));
}

TEST_F(CanvasMouseTest, OnlyASpritePickedByTheHeldButtonFollowsThePointer)
{
    model.addSprite(placed(0, 0, 10, 10));
    model.canvasActive = 1;
    const SpriteEntry& sprite = *model.sprites.first();

    mouse.pointerMoved(50, 50);
    mouse.pointerMoved(60, 60);
    click(100, 100);
    mouse.pointerMoved(50, 50);
    mouse.pointerMoved(60, 60);
    mouse.leftReleased(60, 60);
    click(5, 5);
    mouse.leftReleased(5, 5);
    mouse.pointerMoved(50, 50);
    mouse.pointerMoved(60, 60);
    EXPECT_EQ(std::make_pair(sprite.x, sprite.y), std::make_pair(0, 0));
    EXPECT_FALSE(mouse.dragging());
}

TEST_F(CanvasMouseTest, WheelScrollsFromARecordBroughtIntoRangeFirst)
{
    // Inactive canvas: the wheel works all the same. 1024 canvas in a 600
    // high scroll area: the scroll position runs from 0 to 424. A turn toward
    // the user (negative) scrolls down.
    display.size = 1024;
    const std::vector<std::pair<std::int32_t, std::int32_t>> turns{
        {-120, 120}, {120, 0}, {120, -120}, {-120, 120}, {-120, 240}, {-120, 360},
        {-120, 480}, {-120, 544}, {120, 304}};
    for (const auto& [delta, expected] : turns)
        EXPECT_EQ(mouse.wheelTurned(0, 0, delta, 600), expected) << delta;
    EXPECT_TRUE(display.untouched());

    display.size = 4096;
    EXPECT_EQ(mouse.wheelTurned(0, 0, -120, 600), 424);
}

TEST_F(CanvasMouseTest, ActiveCanvasWithoutSpritesShowsBlankReadouts)
{
    // After a folder import that found nothing.
    model.canvasActive = 1;
    click(5, 5);
    mouse.pointerMoved(50, 50);
    mouse.pointerMoved(60, 60);
    mouse.leftReleased(60, 60);
    rightClick(5, 5);
    mouse.wheelTurned(5, 5, -120, 600);
    EXPECT_EQ(display.names.back(), " ");
    EXPECT_EQ(display.positions.back(), "Image X: 0 / Y: 0");
    EXPECT_EQ(model.sheetExtentX, 0);
}

} // namespace
