#include "canvas/CanvasMouse.h"
#include "PlacedSprite.h"
#include "RecordingDisplay.h"

#include <gtest/gtest.h>

#include <stdexcept>
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
    const SpriteEntry& named(const std::string& name) const
    {
        for (const SpriteEntry& sprite : model.sprites.entries()) {
            if (sprite.name == name)
                return sprite;
        }
        throw std::logic_error("no sprite named " + name);
    }
    std::vector<std::string> drawingOrder() const
    {
        std::vector<std::string> names;
        for (const SpriteEntry& sprite : model.sprites.entries())
            names.push_back(sprite.name);
        return names;
    }

    CanvasModel model;
    RecordingDisplay display;
    CanvasMouse mouse{model, display};
};

TEST_F(CanvasMouseTest, PressInAnOverlapPicksTheSpriteOnTopAndBringsTheOtherUpLater)
{
    model.addSprite(placed(0, 0, 64, 64, false, "under.png"));
    model.addSprite(placed(32, 32, 64, 64, false, "over.png"));
    model.canvasActive = 1;

    click(40, 40);
    mouse.leftReleased(40, 40);
    EXPECT_EQ(drawingOrder(), (std::vector<std::string>{"under.png", "over.png"}));
    EXPECT_EQ(display.names.back(), "over.png");

    click(10, 10);
    mouse.leftReleased(10, 10);
    EXPECT_EQ(drawingOrder(), (std::vector<std::string>{"over.png", "under.png"}));
    click(40, 40);
    EXPECT_EQ(model.sprites.current(), model.sprites.last());
    EXPECT_EQ(display.names.back(), "under.png");
}

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

TEST_F(CanvasMouseTest, RightPressTurnsASpriteAboutItsTopLeftCornerAndBack)
{
    model.addSprite(placed(0, 0, 64, 32, false, "wide.png"));
    model.canvasActive = 1;
    const SpriteEntry& sprite = *model.sprites.first();

    rightClick(10, 10);
    EXPECT_EQ(sprite.width, 32);
    EXPECT_EQ(sprite.height, 64);
    EXPECT_TRUE(sprite.rotated);
    EXPECT_EQ(std::make_pair(sprite.x, sprite.y), std::make_pair(0, 0));
    EXPECT_FLOAT_EQ(sprite.opacity, 1.0f);
    EXPECT_EQ(display.names.back(), "wide.png");
    EXPECT_EQ(model.sheetExtentY, 64);

    // Only inside the turned box.
    rightClick(10, 50);
    EXPECT_EQ(sprite.width, 64);
    EXPECT_EQ(sprite.height, 32);
    EXPECT_FALSE(sprite.rotated);
    EXPECT_EQ(std::make_pair(sprite.x, sprite.y), std::make_pair(0, 0));
}

TEST_F(CanvasMouseTest, RightPressOnEmptyCanvasSelectsTheFirstSpriteAndChangesNone)
{
    model.addSprite(placed(20, 30, 10, 10, false, "first.png"));
    model.addSprite(placed(100, 0, 10, 10, false, "second.png"));
    model.canvasActive = 1;
    const auto before = drawingOrder();

    rightClick(500, 500);
    EXPECT_EQ(model.sprites.current(), model.sprites.first());
    EXPECT_EQ(display.positions.back(), "Image X: 20 / Y: 30");
    EXPECT_EQ(drawingOrder(), before);
    for (const char* name : {"first.png", "second.png"}) {
        EXPECT_EQ(named(name).width, 10);
        EXPECT_FALSE(named(name).rotated);
        EXPECT_FLOAT_EQ(named(name).opacity, 1.0f);
    }
}

TEST_F(CanvasMouseTest, BeforeAnyPictureIsPlacedTheButtonsDoNothing)
{
    model.addSprite(placed(0, 0, 64, 32));
    const SpriteEntry& sprite = *model.sprites.first();

    click(5, 5);
    mouse.pointerMoved(50, 50);
    mouse.pointerMoved(60, 60);
    mouse.leftReleased(60, 60);
    rightClick(5, 5);
    EXPECT_EQ(std::make_pair(sprite.x, sprite.y), std::make_pair(0, 0));
    EXPECT_EQ(sprite.width, 64);
    EXPECT_FALSE(mouse.dragging());
    EXPECT_TRUE(display.untouched());
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
