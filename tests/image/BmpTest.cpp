#include "image/BmpDecoder.h"
#include "image/ImageStore.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

namespace {

using namespace th::image;
using th::testing::readBytes;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t le32(const std::string& s, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<std::uint8_t>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

class Bmp : public ::testing::Test {
protected:
    Bmp()
    {
        store.registerDecoder(std::make_unique<BmpDecoder>());
        // 3 x 2: top row red, half-transparent green, white; bottom row black.
        n = *store.create(kAutoNumber, 3, 2, 32);
        const std::uint8_t top[] = {255, 0, 0, 255, 0, 200, 0, 128, 255, 255, 255, 255};
        std::copy(std::begin(top), std::end(top), store.handle(n).pixels);
    }
    Bytes decodeFile(const std::filesystem::path& f)
    {
        const std::string s = readBytes(f);
        const auto d = store.decode(5, Bytes(s.begin(), s.end()));
        if (!d)
            return {};
        const PixelView v = store.handle(5);
        return {v.pixels, v.pixels + v.stride * static_cast<std::size_t>(v.height)};
    }
    th::testing::TempHome home;
    ImageStore store;
    int n = 0;
};

TEST_F(Bmp, DirectDepthsWriteBottomUpPaddedRowsFlattenedOntoWhite)
{
    const auto file = home.path() / "a.bmp";
    ASSERT_TRUE(store.save(n, file, kCodecBmp, 0, 24));
    const std::string s = readBytes(file);
    ASSERT_EQ(s.size(), 54u + 2 * 12);
    EXPECT_EQ(s.substr(0, 2), "BM");
    // Size, reserved, data offset, header size, 3 x 2, planes 1 and 24 bits, no compression, data size.
    const std::pair<std::size_t, std::size_t> fields[] = {{2, s.size()}, {6, 0}, {10, 54}, {14, 40}, {18, 3},
                                                          {22, 2}, {26, 1 | 24 << 16}, {30, 0}, {34, 24}};
    for (const auto& [at, value] : fields)
        EXPECT_EQ(le32(s, at), value) << "at " << at;
    // The bottom (black) row first, then the top row blue-green-red, each
    // padded from 9 to 12 bytes; green 200 at alpha 128 over white is 227.
    const Bytes rows(s.begin() + 54, s.end());
    EXPECT_EQ(rows, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                           0, 0, 255, 127, 227, 127, 255, 255, 255, 0, 0, 0}));
    EXPECT_EQ(store.save(n, file, kCodecBmp, 0, 32), true);
    const std::string s32 = readBytes(file);
    EXPECT_EQ(Bytes(s32.begin() + 54 + 12, s32.end()), (Bytes{0, 0, 255, 0, 127, 227, 127, 0, 255, 255, 255, 0}));

    // Decoded back: the flattened colours, opaque, and the file's depth.
    const Bytes back = decodeFile(file);
    EXPECT_EQ(back, (Bytes{255, 0, 0, 255, 127, 227, 127, 255, 255, 255, 255, 255,
                           0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
    EXPECT_EQ(store.depth(5, kDepthSource), 32);
}

TEST_F(Bmp, IndexedDepthsWriteAColourTableAndPackedIndices)
{
    const auto file = home.path() / "i.bmp";
    for (const int depth : {1, 4, 8}) {
        ASSERT_TRUE(store.save(n, file, kCodecBmp, 0, depth));
        const std::string s = readBytes(file);
        const std::size_t offset = 54 + (std::size_t{4} << depth);
        EXPECT_EQ(le32(s, 10), offset);
        EXPECT_EQ(s.size(), offset + 2 * 4) << depth;
        EXPECT_EQ(le32(s, 26) >> 16, static_cast<std::uint32_t>(depth));
        // Decoding follows the table; black maps to a dark entry either way.
        const Bytes back = decodeFile(file);
        ASSERT_EQ(back.size(), 24u);
        EXPECT_LT(back[12] + back[13] + back[14], 60) << depth;
        EXPECT_EQ(store.depth(5, kDepthSource), depth);
    }
    // Depth 1: a black then a white entry; by luminance only white is light
    // in the top row (the green's alpha plays no part).
    ASSERT_TRUE(store.save(n, file, kCodecBmp, 0, 1));
    const std::string s = readBytes(file);
    EXPECT_EQ(s.substr(54, 8), std::string("\0\0\0\0\xFF\xFF\xFF\0", 8));
    EXPECT_EQ(s.substr(62), std::string("\0\0\0\0\x20\0\0\0", 8));
}

TEST_F(Bmp, OtherDepthsFailWithoutAFile)
{
    for (const int depth : {0, 2, 16, 31})
        EXPECT_FALSE(store.save(n, home.path() / "x.bmp", kCodecBmp, 0, depth));
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));
}

// Headers for a hand-made file: 14 + 40 bytes, then the rows.
Bytes bmpHeaders(int width, int height, int bits, int compression, std::size_t dataBytes)
{
    Bytes b(54, 0);
    auto put = [&](std::size_t at, std::uint32_t v) { for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i)); };
    b[0] = 'B', b[1] = 'M';
    put(2, static_cast<std::uint32_t>(54 + dataBytes));
    put(10, 54);
    put(14, 40);
    put(18, static_cast<std::uint32_t>(width));
    put(22, static_cast<std::uint32_t>(height));
    put(26, 1u | static_cast<std::uint32_t>(bits) << 16);
    put(30, static_cast<std::uint32_t>(compression));
    return b;
}

TEST_F(Bmp, DecodesFiveFiveFiveAndStopsCleanlyOnShortOrUnknownData)
{
    // 5 pixels of 16 bits: 10 bytes, padded to 12. Red = bits 10-14.
    Bytes file = bmpHeaders(5, 1, 16, 0, 12);
    const std::uint16_t pixels[] = {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0421};
    for (const std::uint16_t p : pixels)
        file.insert(file.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8)});
    file.insert(file.end(), {0, 0});
    ASSERT_TRUE(store.decode(5, file));
    const PixelView v = store.handle(5);
    EXPECT_EQ(Bytes(v.pixels, v.pixels + 20),
              (Bytes{248, 0, 0, 255, 0, 248, 0, 255, 0, 0, 248, 255, 248, 248, 248, 255, 8, 8, 8, 255}));
    EXPECT_EQ(store.depth(5, kDepthSource), 16);

    // Two rows declared, one present: the bottom row arrives, the top stays black.
    Bytes shortFile = bmpHeaders(1, 2, 24, 0, 4);
    shortFile.insert(shortFile.end(), {1, 2, 3, 0});
    ASSERT_TRUE(store.decode(5, shortFile));
    EXPECT_EQ(Bytes(store.handle(5).pixels, store.handle(5).pixels + 8), (Bytes{0, 0, 0, 255, 3, 2, 1, 255}));

    // Run-length data and odd depths are taken but deliver no rows.
    for (const auto& [bits, compression] : {std::pair{4, 2}, {8, 1}, {12, 0}}) {
        ASSERT_TRUE(store.decode(5, bmpHeaders(2, 1, bits, compression, 0)));
        EXPECT_EQ(Bytes(store.handle(5).pixels, store.handle(5).pixels + 8), (Bytes{0, 0, 0, 255, 0, 0, 0, 255}));
    }
    Bytes reserved = bmpHeaders(1, 1, 24, 0, 4);
    reserved[7] = 1;
    EXPECT_FALSE(store.decode(6, reserved));
    EXPECT_FALSE(store.decode(6, bmpHeaders(0, 1, 24, 0, 0)));
    EXPECT_FALSE(store.decode(6, bmpHeaders(1, -1, 24, 0, 0)));
    EXPECT_FALSE(store.decode(6, Bytes(file.begin(), file.begin() + 40)));
}

} // namespace
