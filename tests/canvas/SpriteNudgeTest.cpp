// The arrow keys' nudge of the current sprite.

#include "canvas/SpriteNudge.h"
#include "canvas/CanvasReadouts.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Nudge {
    const char* name;
    std::int32_t x, y;
    bool rotated;
    std::int32_t clip;
    std::int32_t dx, dy;
    th::canvas::NudgeStep step;
    bool snap;
    std::int32_t toX, toY; // the sprite's corner afterwards
};

TEST(SpriteNudge, MovesTheVisibleBoxByAPixelAnEighthOrToTheGridInsideTheCanvas)
{
    using enum th::canvas::NudgeStep;
    const Nudge nudges[] = {
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
    for (const Nudge& nudge : nudges) {
        SCOPED_TRACE(nudge.name);
        th::canvas::CanvasModel model;
        std::vector<th::canvas::CanvasEdit> steps;
        th::canvas::CanvasEditor editor(model, [&steps](th::canvas::CanvasEdit edit) { steps.push_back(std::move(edit)); });
        th::canvas::testing::RecordingDisplay display;
        // 40 x 30 on the canvas either way, so the clip takes off across x
        // while upright and across y while turned.
        th::canvas::testing::placeAll(editor, {th::testing::placed(500, 500, 8, 8),
                                               th::testing::placed(nudge.x, nudge.y, 40, 30, nudge.rotated)});
        editor.perform(th::canvas::SetClip{.margin = nudge.clip});
        const std::size_t stepsBefore = steps.size();

        th::canvas::nudgeCurrent(editor, display, nudge.dx, nudge.dy, nudge.step, nudge.snap);

        const th::canvas::SpriteEntry& sprite = model.sprites().entries()[1];
        EXPECT_EQ(sprite.x, nudge.toX);
        EXPECT_EQ(sprite.y, nudge.toY);
        EXPECT_EQ(model.sprites().currentPosition(), 1u) << "the drawing order and the current sprite stay";
        ASSERT_FALSE(display.positions.empty());
        EXPECT_EQ(display.positions.back(), th::canvas::positionReadout(model));
        ASSERT_EQ(steps.size(), stepsBefore + 1);
        // A second nudge on from there joins the first; one on another sprite does not.
        th::canvas::nudgeCurrent(editor, display, 0, -1, Pixel, false);
        EXPECT_TRUE(th::canvas::continueNudge(steps[stepsBefore], steps.back()));
        model.selectFirst();
        th::canvas::nudgeCurrent(editor, display, 1, 0, Pixel, false);
        EXPECT_FALSE(th::canvas::continueNudge(steps[stepsBefore], steps.back()));
        th::canvas::revert(steps.back(), model);
        th::canvas::revert(steps[stepsBefore], model);
        EXPECT_EQ(model.sprites().entries()[1].x, nudge.x);
        EXPECT_EQ(model.sprites().entries()[1].y, nudge.y);
    }
}

} // namespace
