// BMP writing is a library feature the application barely uses (its
// pictures are PNG): one table over the written depths, byte for byte. The
// decoder is tested in DecodeTest, dithering in PngEncodeTest.

#include "image/BmpDecoder.h"
#include "image/ImageStore.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

namespace {

using namespace th::image;
using th::testing::readBytes;
using Bytes = std::vector<std::uint8_t>;

TEST(Bmp, EveryDepthWritesItsHeadersTableAndBottomUpPaddedRows)
{
    const th::testing::TempHome home;
    ImageStore store;
    store.registerDecoder(std::make_unique<BmpDecoder>());
    // 3 x 2: top row red, half-transparent green, white; bottom row black.
    const int n = *store.create(kAutoNumber, 3, 2, 32);
    const std::uint8_t top[] = {255, 0, 0, 255, 0, 200, 0, 128, 255, 255, 255, 255};
    std::copy(std::begin(top), std::end(top), store.handle(n).pixels);
    for (const int depth : {0, 2, 16, 31})
        EXPECT_FALSE(store.save(n, home.path() / "x.bmp", kCodecBmp, SaveFlags::None, depth).ok()) << depth;
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));

    struct Case {
        int depth;
        std::uint32_t offset, rowBytes;
        Bytes data;   // from byte 54: any colour table, then the rows; empty: not checked
        Bytes topRow; // decoded back, RGBA; empty: not checked
    };
    // Colours flattened onto white (green 200 at alpha 128 gives 127, 227,
    // 127), blue-green-red, bottom row first, rows padded to 4 bytes. Depth
    // 1 is black then white by luminance: only white is light (the green's
    // alpha plays no part).
    const Case cases[] = {
        {24, 54, 12, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 127, 227, 127, 255, 255, 255, 0, 0, 0},
         {255, 0, 0, 255, 127, 227, 127, 255, 255, 255, 255, 255}},
        {32, 54, 12, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 127, 227, 127, 0, 255, 255, 255, 0},
         {255, 0, 0, 255, 127, 227, 127, 255, 255, 255, 255, 255}},
        {1, 62, 4, {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0x20, 0, 0, 0},
         {0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 255}},
        {4, 54 + 64, 4, {}, {}},
        {8, 54 + 1024, 4, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        ASSERT_TRUE(store.save(n, home.path() / "a.bmp", kCodecBmp, SaveFlags::None, c.depth).ok());
        const std::string s = readBytes(home.path() / "a.bmp");
        ASSERT_EQ(s.size(), c.offset + 2 * c.rowBytes);
        EXPECT_EQ(s.substr(0, 2), "BM");
        // Size, reserved, data offset, header size, 3 x 2, one plane and the
        // bits, no compression, the rows' size.
        const std::pair<std::size_t, std::size_t> fields[] = {{2, s.size()}, {6, 0}, {10, c.offset}, {14, 40}, {18, 3},
                                                              {22, 2}, {26, 1 | c.depth << 16}, {30, 0}, {34, 2 * c.rowBytes}};
        for (const auto& [at, value] : fields) {
            std::uint32_t v = 0;
            for (std::size_t i = 4; i-- > 0;)
                v = v << 8 | std::uint8_t(s[at + i]);
            EXPECT_EQ(v, value) << "at " << at;
        }
        if (!c.data.empty()) {
            EXPECT_EQ(Bytes(s.begin() + 54, s.end()), c.data);
        }

        ASSERT_TRUE(store.decode(5, Bytes(s.begin(), s.end())).ok());
        EXPECT_EQ(store.depth(5, kDepthSource), c.depth);
        const Bytes back(store.handle(5).pixels, store.handle(5).pixels + 24);
        if (!c.topRow.empty()) {
            EXPECT_EQ(Bytes(back.begin(), back.begin() + 12), c.topRow);
        }
        for (std::size_t i = 12; i < 24; i += 4)
            EXPECT_LT(back[i] + back[i + 1] + back[i + 2], 60) << "the black row decodes dark through the table";
    }
}

} // namespace
