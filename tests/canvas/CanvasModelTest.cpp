// What is measured of the sprites: the used area, the sprite under a point
// and the sprites wholly outside the canvas.
// Where the cursor goes after a change is the editing API's (CanvasEditTest).

#include "canvas/CanvasModel.h"
#include "canvas/ImportReport.h"
#include "canvas/SpriteList.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::DisplayedCanvas;
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

TEST(SpriteList, TheTopmostBoxWithItsLeftAndTopEdgesOnlyHoldsAPoint)
{
    SpriteList list;
    list.insert(0, placed(-20, -10, 30, 20, false, "a", 1));
    list.insert(1, placed(0, 0, 30, 20, false, "b", 2));
    list.selectFirst();
    for (const auto& [x, y, hit] : {std::tuple{0, 0, "b"}, {-20, -10, "a"}, {29, 19, "b"}, {-21, 0, ""},
                                    {30, 0, ""}, {0, 20, ""}, {2147483647, 0, ""}}) {
        const auto found = list.topmostAt(x, y);
        EXPECT_EQ(found ? list.entries()[*found].name : "", hit) << x << ", " << y;
    }
    EXPECT_EQ(list.current()->name, "a") << "looking does not move the cursor";
}

TEST(ImportReport, ASpriteIsOutsideOnlyWhenNoPixelOfItsBoxIsOnTheCanvas)
{
    const struct {
        int x, y, width, height;
        int outside;
    } rows[] = {
        {1023, 1023, 5, 5, 0}, {1024, 0, 5, 5, 1}, {0, 1024, 5, 5, 1}, {-5, 0, 5, 5, 1}, {-4, -4, 5, 5, 0},
    };
    for (const auto& row : rows) {
        const SpriteEntry sprite{.x = row.x, .y = row.y, .width = row.width, .height = row.height};
        EXPECT_EQ(countOutside({&sprite, 1}, 1024), row.outside) << row.x << "," << row.y;
    }
}

} // namespace
