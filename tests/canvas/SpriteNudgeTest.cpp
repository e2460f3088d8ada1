// The arrow keys' nudge of the current sprite.

#include "canvas/SpriteNudge.h"
#include "canvas/CanvasReadouts.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::canvas;

TEST(SpriteNudge, MovesTheVisibleBoxByAPixelAnEighthOrToTheGridInsideTheCanvas)
{
    using enum NudgeStep;
    const struct {
        const char* name;
        std::int32_t x, y;
        bool rotated;
        std::int32_t clip;
        std::int32_t dx, dy;
        NudgeStep step;
        bool snap;
        std::int32_t toX, toY; // the sprite's corner afterwards
    } nudges[] = {
        {"one pixel right", 10, 20, false, 0, 1, 0, Pixel, false, 11, 20},
        {"one pixel up, snapping changes nothing", 10, 20, false, 0, 0, -1, Pixel, true, 10, 19},
        {"Shift: eight pixels left", 10, 20, false, 0, -1, 0, Large, false, 2, 20},
        {"Shift with snap: the next grid line down", 10, 21, false, 0, 0, 1, Large, true, 10, 24},
        {"Shift with snap from a grid line: the one before", 16, 20, false, 0, -1, 0, Large, true, 8, 20},
        {"the visible box goes to the grid, clipped at left", 10, 20, false, 3, 1, 0, Large, true, 13, 20},
        {"turned: clipped at the top", 10, 20, true, 3, 0, 1, Large, true, 10, 21},
        {"stopped at the left edge", 3, 20, false, 0, -1, 0, Large, false, 0, 20},
        {"stopped at the bottom edge by the visible box", 10, 1000, false, 0, 0, 1, Large, false, 10, 1024 - 30},
        {"off the canvas comes back inside", -50, 20, false, 0, 1, 0, Pixel, false, 0, 20},
    };
    for (const auto& nudge : nudges) {
        SCOPED_TRACE(nudge.name);
        // 40 x 30 on the canvas either way, so the clip takes off across x
        // while upright and across y while turned.
        th::canvas::testing::DisplayedCanvas canvas(
            {th::testing::placed(500, 500, 8, 8), th::testing::placed(nudge.x, nudge.y, 40, 30, nudge.rotated)});
        canvas.editor.perform(SetClip{.margin = nudge.clip});
        auto& [model, steps, editor, display] = canvas;
        const std::size_t stepsBefore = steps.size();

        nudgeCurrent(editor, display, nudge.dx, nudge.dy, nudge.step, nudge.snap);

        const SpriteEntry& sprite = model.sprites().entries()[1];
        EXPECT_EQ(std::pair(sprite.x, sprite.y), std::pair(nudge.toX, nudge.toY));
        EXPECT_EQ(model.sprites().currentPosition(), 1u) << "the drawing order and the current sprite stay";
        ASSERT_FALSE(display.positions.empty());
        EXPECT_EQ(display.positions.back(), positionReadout(model));
        ASSERT_EQ(steps.size(), stepsBefore + 1);
        // A second nudge on from there joins the first; one on another sprite does not.
        nudgeCurrent(editor, display, 0, -1, Pixel, false);
        EXPECT_TRUE(continueNudge(steps[stepsBefore], steps.back()));
        model.selectFirst();
        nudgeCurrent(editor, display, 1, 0, Pixel, false);
        EXPECT_FALSE(continueNudge(steps[stepsBefore], steps.back()));
        revert(steps.back(), model);
        revert(steps[stepsBefore], model);
        EXPECT_EQ(std::pair(sprite.x, sprite.y), std::pair(nudge.x, nudge.y));
    }
}

} // namespace
