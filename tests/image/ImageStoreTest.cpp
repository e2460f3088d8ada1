#include "image/ImageStore.h"

#include <gtest/gtest.h>

namespace {

using namespace th::image;

std::vector<std::uint8_t> bytesOf(const ImageStore& store, int n)
{
    const PixelView v = store.handle(n);
    return {v.pixels, v.pixels + v.stride * static_cast<std::size_t>(v.height)};
}

TEST(ImageStore, CreatesOpaqueOrClearBlackImages)
{
    ImageStore store;
    ASSERT_EQ(store.create(0, 4, 3, 32 | kFormatClear), 0);
    EXPECT_EQ(bytesOf(store, 0), std::vector<std::uint8_t>(48, 0));
    ASSERT_EQ(store.create(1, 4, 3, 32), 1);
    std::vector<std::uint8_t> opaque;
    for (int i = 0; i < 12; ++i)
        opaque.insert(opaque.end(), {0, 0, 0, 255});
    EXPECT_EQ(bytesOf(store, 1), opaque);
    EXPECT_EQ(store.handle(1).stride, 16u);
    EXPECT_EQ(store.depth(1, 0), 32);
    EXPECT_EQ(store.depth(0, kDepthSource), 32);
    ASSERT_TRUE(store.create(2, 1, 1, 24 | kFormatClear));
    EXPECT_EQ(store.depth(2, kDepthSource), 24);
}

TEST(ImageStore, StaticNumbersGrowTheTableAndReuseTheirSlot)
{
    ImageStore store;
    EXPECT_EQ(store.slotCount(), 16u);
    ASSERT_EQ(store.create(40, 2, 2, 32), 40);
    EXPECT_EQ(store.slotCount(), 56u);
    for (int n = 16; n < 40; ++n)
        EXPECT_EQ(store.width(n), 0);
    ASSERT_TRUE(store.create(40, 5, 7, 32));
    EXPECT_EQ(store.width(40), 5);
    EXPECT_EQ(store.height(40), 7);
    EXPECT_EQ(store.handle(40).width, 5);
    store.free(40);
    EXPECT_FALSE(store.handle(40));
    EXPECT_EQ(store.slotCount(), 56u);
    store.free(12345); // names no image: ignored
}

TEST(ImageStore, AutomaticNumbersHandOutHandlesThatNameTheImage)
{
    ImageStore store;
    ASSERT_TRUE(store.create(0, 1, 1, 32));
    const auto a = store.create(kAutoNumber, 3, 2, 32);
    const auto b = store.create(kAutoNumber, 4, 2, 32);
    ASSERT_TRUE(a && b);
    EXPECT_NE(*a, *b);
    EXPECT_LT(*a, kAutoNumber); // never a static number, never kAutoNumber
    EXPECT_EQ(store.width(*a), 3);
    EXPECT_EQ(store.width(*b), 4);
    store.free(*a);
    EXPECT_EQ(store.width(*a), 0);
    EXPECT_EQ(store.width(*b), 4);
    store.free(kAutoNumber);
    EXPECT_EQ(store.width(*b), 0);
    EXPECT_EQ(store.width(0), 0);
}

TEST(ImageStore, RefusesSizesThatDoNotFitAndLeavesTheStoreAlone)
{
    ImageStore store;
    ASSERT_TRUE(store.create(3, 2, 2, 32));
    const std::pair<int, int> refused[] = {{0, 5}, {5, 0}, {-1, 5}, {5, -3}, {32768, 1}, {1, 32768}, {INT32_MAX, INT32_MAX}};
    for (const auto& [w, h] : refused) {
        EXPECT_FALSE(store.create(3, w, h, 32)) << w << "x" << h;
        EXPECT_FALSE(store.create(kAutoNumber, w, h, 32)) << w << "x" << h;
    }
    EXPECT_EQ(store.width(3), 2);
    EXPECT_FALSE(store.create(-5, 2, 2, 32));
    EXPECT_FALSE(store.create(kMaxStaticNumber + 1, 2, 2, 32));
    EXPECT_EQ(store.slotCount(), 16u);
    // The largest side is allowed (a single row costs only 128 KiB).
    EXPECT_TRUE(store.create(kAutoNumber, kMaxSide, 1, 32));
}

TEST(ImageStore, NumbersThatNameNoImageAnswerZero)
{
    ImageStore store;
    for (const int n : {0, 15, 16, 1000, -2, -100}) {
        EXPECT_EQ(store.width(n), 0);
        EXPECT_EQ(store.height(n), 0);
        EXPECT_EQ(store.depth(n, kDepthSource), 0);
        EXPECT_FALSE(store.handle(n));
        EXPECT_FALSE(store.target(n));
    }
}

} // namespace
