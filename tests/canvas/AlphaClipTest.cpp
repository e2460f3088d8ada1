// The alpha clip's two steps.

#include "canvas/AlphaClip.h"
#include "canvas/CanvasReadouts.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::canvas;
using th::testing::placed;

TEST(AlphaClip, StepsOfTwoUpToHalfTheCurrentPicturesWidthAndBackDownToZero)
{
    const struct {
        const char* name;
        SpriteEntry current;
        std::vector<std::int32_t> margins; // after four clips, then four expands
    } rows[] = {
        {"10 wide", placed(0, 0, 10, 40), {2, 4, 6, 6, 4, 2, 0, 0}},
        {"9 wide: the half rounds down", placed(0, 0, 9, 40), {2, 4, 4, 4, 2, 0, 0, 0}},
        {"turned, its picture's width is its height", placed(0, 0, 50, 10, true), {2, 4, 6, 6, 4, 2, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CanvasModel model;
        CanvasEditor editor(model);
        th::canvas::testing::RecordingDisplay display;
        // The narrow sprite below plays no part.
        th::canvas::testing::placeAll(editor, {placed(20, 0, 2, 2), row.current});
        std::vector<std::int32_t> margins;
        for (int i = 0; i < 8; ++i) {
            (i < 4 ? clipAlphaImage : expandAlphaClip)(editor, display);
            margins.push_back(model.clipMargin());
        }
        EXPECT_EQ(margins, row.margins);
        // Each step shows the read-out afresh, even one that changed nothing.
        EXPECT_EQ(display.positions.size(), 8u);
        EXPECT_EQ(display.positions.back(), positionReadout(model));
    }

    CanvasModel empty;
    CanvasEditor editor(empty);
    th::canvas::testing::RecordingDisplay display;
    clipAlphaImage(editor, display);
    expandAlphaClip(editor, display);
    EXPECT_TRUE(display.untouched()) << "no sprite, nothing to clip";
}

} // namespace
