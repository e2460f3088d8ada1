// The list's own rules; the pick on top and deleting index 2 of 4 are driven
// through the real window in tests/app, the pass over every sprite by the
// used-area and column tests.

#include "canvas/SpriteList.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using th::canvas::SpriteEntry;
using th::canvas::SpriteList;
using th::testing::placed;
using Names = std::vector<std::string>;

// A 10 x 10 sprite named `name` with index and picture number `index`.
SpriteEntry sprite(const std::string& name, std::int32_t index, std::int32_t x = 0, std::int32_t y = 0)
{
    return placed(x, y, 10, 10, false, name, index);
}

Names names(const SpriteList& list)
{
    Names result;
    for (const SpriteEntry& entry : list.entries())
        result.push_back(entry.name + std::to_string(entry.index));
    return result;
}

std::string currentName(const SpriteList& list) { return list.current() ? list.current()->name : "(none)"; }

TEST(SpriteList, AddingInsertsAfterTheCurrentSpriteAndClearingStartsAtTheFront)
{
    SpriteList list;
    EXPECT_EQ(list.current(), nullptr);
    for (const char* name : {"a", "b", "c"})
        list.add(sprite(name, 1));
    EXPECT_EQ(currentName(list), "c");
    // A miss leaves the first sprite current, so the next one lands second.
    EXPECT_EQ(list.hitTest(500, 500), nullptr);
    EXPECT_EQ(currentName(list), "a");
    list.add(sprite("d", 1));
    EXPECT_EQ(names(list), (Names{"a1", "d1", "b1", "c1"}));
    EXPECT_EQ(currentName(list), "d");

    list.clear();
    EXPECT_EQ(list.current(), nullptr);
    list.add(sprite("e", 1));
    list.add(sprite("f", 1));
    EXPECT_EQ(names(list), (Names{"e1", "f1"}));
}

TEST(SpriteList, HitTestTakesTheTopmostBoxWithItsLeftAndTopEdgesOnly)
{
    SpriteList list;
    list.add(placed(-20, -10, 30, 20, false, "a", 1));
    list.add(placed(0, 0, 30, 20, false, "b", 2));
    for (const auto& [x, y, hit] : {std::tuple{0, 0, "b"}, {-20, -10, "a"}, {0, 0, "a"}, {29, 19, "b"},
                                    {-21, 0, ""}, {30, 0, ""}, {0, 20, ""}}) {
        const SpriteEntry* found = list.hitTest(x, y);
        EXPECT_EQ(found ? found->name : "", hit) << x << ", " << y;
    }
    EXPECT_EQ(SpriteList().hitTest(0, 0), nullptr);
}

TEST(SpriteList, DeletingReleasesThePictureAndKeepsIndicesOneToNInTheirOldOrder)
{
    std::vector<int> released;
    {
        SpriteList list([&](int image) { released.push_back(image); });
        list.removeCurrent();
        for (const auto& [name, index] : {std::pair{"one", 1}, {"two", 2}, {"three", 3}})
            list.add(sprite(name, index, 20 * index));
        ASSERT_NE(list.hitTest(25, 5), nullptr); // list: two, three, one
        ASSERT_NE(list.hitTest(45, 5), nullptr); // list: three, one, two
        list.removeCurrent();
        EXPECT_EQ(released, (std::vector<int>{2}));
        EXPECT_EQ(names(list), (Names{"three2", "one1"}));
        EXPECT_EQ(currentName(list), "three");
        list.removeCurrent();
        list.removeCurrent();
        EXPECT_TRUE(list.empty());
        list.removeCurrent();
        list.add(sprite("four", 4));
        list.clear();
        list.add(sprite("five", 5));
    }
    EXPECT_EQ(released, (std::vector<int>{2, 3, 1, 4, 5}));
}

} // namespace
