// The list's own rule for finding a sprite; where the cursor goes after a
// change is the editing API's (CanvasEditTest).

#include "canvas/SpriteList.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

namespace {

using th::testing::placed;

TEST(SpriteList, TheTopmostBoxWithItsLeftAndTopEdgesOnlyHoldsAPoint)
{
    th::canvas::SpriteList list;
    list.insert(0, placed(-20, -10, 30, 20, false, "a", 1));
    list.insert(1, placed(0, 0, 30, 20, false, "b", 2));
    list.selectFirst();
    for (const auto& [x, y, hit] : {std::tuple{0, 0, "b"}, {-20, -10, "a"}, {29, 19, "b"}, {-21, 0, ""},
                                    {30, 0, ""}, {0, 20, ""}, {2147483647, 0, ""}}) {
        const auto found = list.topmostAt(x, y);
        EXPECT_EQ(found ? list.entries()[*found].name : "", hit) << x << ", " << y;
    }
    EXPECT_EQ(list.current()->name, "a") << "looking does not move the cursor";
    EXPECT_FALSE(th::canvas::SpriteList().topmostAt(0, 0));
}

} // namespace
