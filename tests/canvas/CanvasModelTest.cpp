#include "canvas/CanvasModel.h"
#include "canvas/CanvasReadouts.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::DisplayedCanvas;
using th::canvas::testing::placeAll;
using th::testing::placed;

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
        SCOPED_TRACE(::testing::Message() << c.sprites.size() << " sprites, clip " << c.clip);
        DisplayedCanvas canvas(c.sprites);
        canvas.editor.perform(SetClip{.margin = c.clip});
        const UsedArea area = usedArea(canvas.model);
        EXPECT_EQ(std::pair(area.width, area.height), std::pair(c.width, c.height));
    }
}

TEST(Readouts, ShowTheTopLeftOfTheCurrentSpritesVisibleBoxOrZeroAndABlank)
{
    CanvasModel model;
    CanvasEditor editor(model);
    editor.perform(SetClip{.margin = 6});
    EXPECT_EQ(positionReadout(model), "Image X: 0 / Y: 0");
    EXPECT_EQ(nameLabel(model), " ");
    placeAll(editor, {placed(10, 20, 40, 40, false, "upright.png"), placed(-30, -7, 40, 40, true, "turned.png")});
    EXPECT_EQ(positionReadout(model), "Image X: -30 / Y: -1");
    EXPECT_EQ(nameLabel(model), "turned.png");
    model.selectFirst();
    EXPECT_EQ(positionReadout(model), "Image X: 16 / Y: 20");
    EXPECT_EQ(nameLabel(model), "upright.png");
}

} // namespace
