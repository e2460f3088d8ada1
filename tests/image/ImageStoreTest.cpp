#include "image/ImageStore.h"

#include <gtest/gtest.h>

namespace {

using namespace th::image;
using Bytes = std::vector<std::uint8_t>;

// One store walked through refusals, static slots that grow, and automatic
// numbers freed one by one or all together.
TEST(ImageStore, NumbersNameOpaqueOrClearImagesUntilFreedAndMisfitsLeaveTheStoreAlone)
{
    ImageStore store;
    ASSERT_TRUE(store.create(3, 2, 2, 32));
    const std::tuple<int, int, int> refused[] = {{3, 0, 5}, {kAutoNumber, 5, 0}, {3, -1, 5}, {kAutoNumber, 5, -3},
        {3, 32768, 1}, {kAutoNumber, 1, 32768}, {3, INT32_MAX, INT32_MAX}, {-5, 2, 2}, {kMaxStaticNumber + 1, 2, 2}};
    for (const auto& [number, w, h] : refused)
        EXPECT_FALSE(store.create(number, w, h, 32)) << number << ": " << w << "x" << h;
    EXPECT_EQ(store.width(3), 2);
    EXPECT_EQ(store.slotCount(), 16u);

    ASSERT_EQ(store.create(0, 4, 3, 32, Fill::TransparentBlack), 0);
    ASSERT_EQ(store.create(40, 4, 3, 32), 40);
    const PixelView clear = store.handle(0), opaque = store.handle(40);
    EXPECT_EQ(Bytes(clear.pixels, clear.pixels + 48), Bytes(48, 0));
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(opaque.pixels[i], i % 4 == 3 ? 255 : 0) << i;
    EXPECT_EQ(opaque.stride, 16u);
    EXPECT_EQ(store.depth(40, kDepthSource), 32);
    ASSERT_TRUE(store.create(2, 1, 1, 24, Fill::TransparentBlack));
    EXPECT_EQ(store.depth(2, kDepthSource), 24);
    EXPECT_EQ(store.depth(2, 0), 32);

    EXPECT_EQ(store.slotCount(), 56u);
    ASSERT_TRUE(store.create(40, 5, 7, 32));
    EXPECT_EQ(std::pair(store.width(40), store.height(40)), std::pair(5, 7));
    store.free(40);
    store.free(12345); // names no image: ignored
    EXPECT_EQ(store.slotCount(), 56u);
    for (const int n : {15, 16, 39, 40, 1000, -2})
        EXPECT_TRUE(!store.handle(n) && !store.target(n) && store.width(n) == 0 && store.height(n) == 0
                    && store.depth(n, kDepthSource) == 0) << n;

    const auto a = store.create(kAutoNumber, 3, 2, 32);
    const auto b = store.create(kAutoNumber, 4, 2, 32);
    ASSERT_TRUE(a && b);
    EXPECT_NE(*a, *b);
    EXPECT_LT(*a, kAutoNumber);
    EXPECT_EQ(std::pair(store.width(*a), store.width(*b)), std::pair(3, 4));
    store.free(*a);
    EXPECT_EQ(std::pair(store.width(*a), store.width(*b)), std::pair(0, 4));
    store.free(kAutoNumber);
    EXPECT_EQ(std::pair(store.width(*b), store.width(0)), std::pair(0, 0));
    EXPECT_TRUE(store.create(kAutoNumber, kMaxSide, 1, 32));
}

} // namespace
