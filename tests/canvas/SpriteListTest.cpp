#include "canvas/SpriteList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using th::canvas::SpriteEntry;
using th::canvas::SpriteList;

SpriteEntry sprite(const std::string& name, std::int32_t index, std::int32_t x = 0, std::int32_t y = 0,
                   std::int32_t width = 10, std::int32_t height = 10)
{
    SpriteEntry entry;
    entry.image = 100 + index;
    entry.name = name;
    entry.index = index;
    entry.x = x;
    entry.y = y;
    entry.width = width;
    entry.height = height;
    return entry;
}

std::vector<std::string> names(const SpriteList& list)
{
    std::vector<std::string> result;
    for (const SpriteEntry& entry : list.entries())
        result.push_back(entry.name);
    return result;
}

std::vector<std::int32_t> indices(const SpriteList& list)
{
    std::vector<std::int32_t> result;
    for (const SpriteEntry& entry : list.entries())
        result.push_back(entry.index);
    return result;
}

// Three sprites "a", "b", "c" (indices 1 to 3) with the first one current.
void addAbcFirstCurrent(SpriteList& list)
{
    list.add(sprite("a", 1));
    list.add(sprite("b", 2));
    list.add(sprite("c", 3));
    list.hitTest(-1, -1);
}

std::string currentName(const SpriteList& list)
{
    return list.current() ? list.current()->name : "(none)";
}

TEST(SpriteListCursor, AddingInsertsAfterTheCurrentSpriteAndSelectsIt)
{
    SpriteList list;
    EXPECT_EQ(list.current(), nullptr);
    list.add(sprite("a", 1));
    list.add(sprite("b", 2));
    list.add(sprite("c", 3));
    EXPECT_EQ(names(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(currentName(list), "c");

    // A miss leaves the first sprite current, so the next one lands second.
    EXPECT_EQ(list.hitTest(500, 500), nullptr);
    EXPECT_EQ(currentName(list), "a");
    list.add(sprite("d", 4));
    EXPECT_EQ(names(list), (std::vector<std::string>{"a", "d", "b", "c"}));
    EXPECT_EQ(currentName(list), "d");
}

TEST(SpriteListCursor, ClearingLeavesNoCurrentSoTheNextAddGoesToTheFront)
{
    SpriteList list;
    list.add(sprite("a", 1));
    list.add(sprite("b", 2));
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.current(), nullptr);
    list.add(sprite("c", 1));
    EXPECT_EQ(names(list), (std::vector<std::string>{"c"}));
    EXPECT_EQ(currentName(list), "c");
}

TEST(SpriteListCursor, AWholeListPassVisitsInDrawingOrderAndLeavesTheLastCurrent)
{
    SpriteList list;
    addAbcFirstCurrent(list);
    ASSERT_EQ(currentName(list), "a");
    std::vector<std::string> visited;
    list.passOver([&](SpriteEntry& entry) { visited.push_back(entry.name); });
    EXPECT_EQ(visited, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(currentName(list), "c");

    SpriteList empty;
    empty.passOver([](SpriteEntry&) { FAIL() << "an empty list has nothing to visit"; });
    EXPECT_EQ(empty.current(), nullptr);
}

TEST(SpriteListCursor, LookingUpByIndexOrPositionDoesNotMoveTheCursor)
{
    SpriteList list;
    addAbcFirstCurrent(list);
    ASSERT_NE(list.findByIndex(3), nullptr);
    EXPECT_EQ(list.findByIndex(3)->name, "c");
    EXPECT_EQ(list.findByIndex(4), nullptr);
    EXPECT_EQ(list.first()->name, "a");
    EXPECT_EQ(list.last()->name, "c");
    EXPECT_EQ(currentName(list), "a");
}

TEST(SpriteListHitTest, PicksTheTopmostSpriteUnderThePointAndBringsItToTheTop)
{
    SpriteList list;
    list.add(sprite("bottom", 1, 0, 0, 50, 50));
    list.add(sprite("top", 2, 40, 40, 50, 50));
    list.add(sprite("apart", 3, 200, 200, 10, 10));

    SpriteEntry* hit = list.hitTest(45, 45);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->name, "top");
    EXPECT_EQ(names(list), (std::vector<std::string>{"bottom", "apart", "top"}));
    EXPECT_EQ(list.current(), hit);

    hit = list.hitTest(10, 10);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->name, "bottom");
    EXPECT_EQ(names(list), (std::vector<std::string>{"apart", "top", "bottom"}));
    EXPECT_EQ(currentName(list), "bottom");
}

TEST(SpriteListHitTest, TheBoxIncludesItsLeftAndTopEdgesButNotItsRightAndBottom)
{
    SpriteList list;
    list.add(sprite("a", 1, -20, -10, 30, 20));
    list.add(sprite("other", 2, 100, 100, 5, 5));
    EXPECT_EQ(list.hitTest(10, 0), nullptr);
    EXPECT_EQ(list.hitTest(0, 10), nullptr);
    EXPECT_EQ(list.hitTest(-21, 0), nullptr);
    ASSERT_NE(list.hitTest(-20, -10), nullptr);
    EXPECT_EQ(list.hitTest(9, 9)->name, "a");

    SpriteList empty;
    EXPECT_EQ(empty.hitTest(0, 0), nullptr);
    EXPECT_EQ(empty.current(), nullptr);
}

TEST(SpriteListHitTest, MovingToTheEndIgnoresPositionsPastTheList)
{
    SpriteList list;
    list.add(sprite("a", 1));
    list.add(sprite("b", 2));
    list.moveToEnd(0);
    EXPECT_EQ(names(list), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(currentName(list), "a");
    list.moveToEnd(2);
    EXPECT_EQ(names(list), (std::vector<std::string>{"b", "a"}));
}

TEST(SpriteListRemoval, DeletingTheCurrentSpriteClosesTheGapInTheIndices)
{
    std::vector<int> released;
    SpriteList list([&](int image) { released.push_back(image); });
    list.add(sprite("one", 1, 0, 0));
    list.add(sprite("two", 2, 20, 0));
    list.add(sprite("three", 3, 40, 0));
    list.add(sprite("four", 4, 60, 0));
    ASSERT_NE(list.hitTest(25, 5), nullptr);

    list.removeCurrent();
    EXPECT_EQ(released, (std::vector<int>{102}));
    EXPECT_EQ(names(list), (std::vector<std::string>{"one", "three", "four"}));
    EXPECT_EQ(indices(list), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(currentName(list), "one");
}

TEST(SpriteListRemoval, DeletingKeepsIndicesInOldOrderWhenTheListIsShuffled)
{
    SpriteList list;
    list.add(sprite("one", 1, 0, 0));
    list.add(sprite("two", 2, 20, 0));
    list.add(sprite("three", 3, 40, 0));
    ASSERT_NE(list.hitTest(5, 5), nullptr);  // list: two, three, one
    ASSERT_NE(list.hitTest(25, 5), nullptr); // list: three, one, two
    list.removeCurrent();
    EXPECT_EQ(names(list), (std::vector<std::string>{"three", "one"}));
    EXPECT_EQ(indices(list), (std::vector<std::int32_t>{2, 1}));
}

TEST(SpriteListRemoval, DeletingTheLastSpriteEmptiesTheListAndWithoutCurrentDoesNothing)
{
    std::vector<int> released;
    SpriteList list([&](int image) { released.push_back(image); });
    list.removeCurrent();
    EXPECT_TRUE(released.empty());
    list.add(sprite("only", 1));
    list.removeCurrent();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.current(), nullptr);
    EXPECT_EQ(released, (std::vector<int>{101}));
    list.removeCurrent();
    EXPECT_EQ(released.size(), 1u);
}

TEST(SpriteListRemoval, EveryPictureIsReleasedExactlyOnce)
{
    std::vector<int> released;
    {
        SpriteList list([&](int image) { released.push_back(image); });
        list.add(sprite("a", 1));
        list.add(sprite("b", 2));
        list.clear();
        EXPECT_EQ(released, (std::vector<int>{101, 102}));
        list.add(sprite("c", 3));
    }
    EXPECT_EQ(released, (std::vector<int>{101, 102, 103}));
}

} // namespace
