// The mouse on the canvas, without a window: every event acts where the
// pointer was at the previous one. How the view paints what the mouse holds
// or turned is CanvasMouseWindowTest's.

#include "canvas/CanvasMouse.h"
#include "canvas/CanvasReadouts.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::describe;
using th::canvas::testing::DisplayedCanvas;
using th::testing::placed;

// A mouse event: what happened, and where.
using Act = void (CanvasMouse::*)(std::int32_t x, std::int32_t y);
constexpr Act Move = &CanvasMouse::pointerMoved;
constexpr Act Left = &CanvasMouse::leftPressed;
constexpr Act Release = &CanvasMouse::leftReleased;
constexpr Act Right = &CanvasMouse::rightPressed;

struct Event {
    Act act;
    std::int32_t x, y;
};

void play(CanvasMouse& mouse, const std::vector<Event>& events)
{
    for (const auto& [act, x, y] : events)
        (mouse.*act)(x, y);
}

struct Gesture {
    const char* name;
    std::vector<Event> events;
    std::string after; // the sprites, topmost last, and the current one
    ImageHandle held;  // 0: nothing held
};

TEST(CanvasMouse, PressesPickTurnAndDragTheTopmostSpriteUnderThePointer)
{
    const std::string stacked = "wide#1@0,0 128x96 small#2@0,0 32x16 ";
    const Gesture gestures[] = {
        {"a left press holds the topmost sprite where the pointer was before it", {{Move, 40, 40}, {Left, 5, 5}},
         "small#2@0,0 32x16 wide#1@0,0 128x96 | current wide", 1},
        {"a drag follows one event behind; the release lets go",
         {{Move, 40, 40}, {Left, 40, 40}, {Move, 90, 70}, {Move, 91, 71}, {Release, 300, 300}},
         "small#2@0,0 32x16 wide#1@50,30 128x96 | current wide", 0},
        {"moves after a press that missed drag nothing",
         {{Move, 600, 600}, {Left, 600, 600}, {Move, 40, 40}, {Move, 90, 70}},
         stacked + "| current small", 0},
        {"a right press turns the sprite there a quarter, on top", {{Move, 40, 40}, {Right, 40, 40}},
         "small#2@0,0 32x16 wide#1@0,0 96x128T | current wide", 0},
        {"a right press on empty canvas turns nothing and selects the first", {{Move, 600, 600}, {Right, 600, 600}},
         stacked + "| current wide", 0},
        {"a sprite turned while held is shown whole and dragged on",
         {{Move, 40, 40}, {Left, 40, 40}, {Right, 40, 40}, {Move, 90, 70}, {Move, 91, 71}},
         "small#2@0,0 32x16 wide#1@50,30 96x128T | current wide", 0},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.name);
        DisplayedCanvas canvas({placed(0, 0, 128, 96, false, "wide", 1), placed(0, 0, 32, 16, false, "small", 2)});
        CanvasMouse mouse(canvas.editor, canvas.display);
        play(mouse, gesture.events);
        const std::string state = describe(canvas.model);
        EXPECT_EQ(state.substr(0, state.find(", clip")), gesture.after);
        EXPECT_EQ(mouse.held().value_or(0), gesture.held);
        // The name label's wiring is UndoWindowTest's.
        ASSERT_FALSE(canvas.display.positions.empty());
        EXPECT_EQ(canvas.display.positions.back(), positionReadout(canvas.model));
    }
}

TEST(CanvasMouse, SnappedDragsPutTheCornerOnTheNextGridLine)
{
    DisplayedCanvas canvas({placed(0, 0, 64, 64)});
    CanvasMouse mouse(canvas.editor, canvas.display);
    mouse.setSnapToGrid(true);
    play(mouse, {{Move, 30, 30}, {Left, 30, 30}});
    // Dragged so that the corner would be at (d, d), it lands at (expected, expected).
    for (const auto& [d, expected] :
         {std::pair{0, 8}, {13, 16}, {16, 24}, {-3, 8}, {-8, 0}, {-13, 0}, {-16, -8}, {35, 40}}) {
        play(mouse, {{Move, 30 + d, 30 + d}, {Move, 31 + d, 31 + d}});
        const SpriteEntry& sprite = canvas.model.sprites().entries()[0];
        EXPECT_EQ(std::pair(sprite.x, sprite.y), std::pair(expected, expected)) << d;
    }
}

TEST(CanvasMouse, WithoutSpritesPressesShowNothingButTheWheelScrolls)
{
    DisplayedCanvas canvas;
    CanvasMouse mouse(canvas.editor, canvas.display);
    const std::vector<Event> everything = {{Move, 10, 10}, {Left, 10, 10},  {Move, 20, 20},
                                           {Release, 20, 20}, {Right, 10, 10}};
    play(mouse, everything);
    // The record may run past either end on a turn; it is brought back to
    // the range of a 1024 canvas in a 600 high view before the next one.
    std::vector<std::int32_t> tops;
    for (const std::int32_t delta : {120, -120, -120, -120, -120, -120, -120, 120})
        tops.push_back(mouse.wheelTurned(0, 0, delta, 600));
    EXPECT_EQ(tops, (std::vector<std::int32_t>{-120, 120, 240, 360, 480, 544, 544, 304}));
    EXPECT_TRUE(canvas.display.untouched()) << "inactive before any import";

    canvas.editor.perform(AddSprites{});
    play(mouse, everything);
    EXPECT_EQ(describe(canvas.model), "| current -, clip 0, place 0,0, active, size 1024");
    EXPECT_EQ(canvas.display.names.back(), " ") << "an import that found nothing";
}

} // namespace
