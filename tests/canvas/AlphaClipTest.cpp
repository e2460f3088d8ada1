// The alpha clip's two steps.

#include "canvas/AlphaClip.h"
#include "canvas/CanvasReadouts.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::DisplayedCanvas;
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
        // The narrow sprite below plays no part.
        DisplayedCanvas canvas({placed(20, 0, 2, 2), row.current});
        std::vector<std::int32_t> margins;
        for (int i = 0; i < 8; ++i) {
            (i < 4 ? clipAlphaImage : expandAlphaClip)(canvas.editor, canvas.display);
            margins.push_back(canvas.model.clipMargin());
        }
        EXPECT_EQ(margins, row.margins);
        // Each step shows the read-out afresh, even one that changed nothing.
        EXPECT_EQ(canvas.display.positions.size(), 8u);
        EXPECT_EQ(canvas.display.positions.back(), positionReadout(canvas.model));
    }

    DisplayedCanvas empty;
    clipAlphaImage(empty.editor, empty.display);
    expandAlphaClip(empty.editor, empty.display);
    EXPECT_TRUE(empty.display.untouched()) << "no sprite, nothing to clip";
}

} // namespace
