#include "image/DrawTarget.h"
#include "image/TextPainter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::image;

// A small RGBA canvas with a begun target over it.
struct Canvas {
    Canvas(int w, int h, std::vector<std::uint8_t> fill = {0, 0, 0, 0})
        : width(w), bytes(static_cast<std::size_t>(w) * h * 4), target(view(w, h))
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = fill[i % 4];
        EXPECT_TRUE(target.begin());
    }
    PixelView view(int w, int h) { return {bytes.data(), w, h, static_cast<std::size_t>(w) * 4}; }
    std::vector<std::uint8_t> at(int x, int y) const
    {
        const auto* p = &bytes[(static_cast<std::size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    // Which pixels differ from the fill, as rows of '#' and '.'.
    std::vector<std::string> touched() const
    {
        std::vector<std::string> rows;
        for (std::size_t i = 0; i < bytes.size() / 4; ++i) {
            if (i % static_cast<std::size_t>(width) == 0)
                rows.emplace_back();
            rows.back() += bytes[i * 4] ? '#' : '.';
        }
        return rows;
    }
    int width;
    std::vector<std::uint8_t> bytes;
    DrawTarget target;
};

using Px = std::vector<std::uint8_t>;

TEST(DrawTarget, PlainModeWritesColourAndKeepsAlpha)
{
    Canvas c(3, 3);
    c.target.box(0, 0, 2, 2, makeRgb(255, 128, 0));
    EXPECT_EQ(c.at(1, 1), (Px{255, 128, 0, 0}));
    EXPECT_EQ(c.at(2, 2), (Px{0, 0, 0, 0}));
    c.bytes[0] = 10, c.bytes[1] = 20, c.bytes[2] = 30, c.bytes[3] = 40;
    EXPECT_EQ(c.target.readPixel(0, 0), makeRgb(10, 20, 30));
    for (const int mode : {kModeAlphaOnly, kModeAllChannels, kModeBlend, kModeAlphaClip, kModeCustom}) {
        c.target.setMode(mode);
        EXPECT_EQ(c.target.readPixel(0, 0), makeRgba(10, 20, 30, 40)) << mode;
    }
    c.target.setMode(kModeXor);
    EXPECT_EQ(c.target.readPixel(0, 0), makeRgb(10, 20, 30));
}

TEST(DrawTarget, ChannelModesWriteTheirBytes)
{
    Canvas c(2, 1, {9, 9, 9, 9});
    c.target.setMode(kModeAllChannels);
    c.target.pixel(0, 0, makeRgba(1, 2, 3, 255));
    EXPECT_EQ(c.at(0, 0), (Px{1, 2, 3, 255}));
    c.target.setMode(kModeAlphaOnly);
    c.target.pixel(1, 0, makeRgba(1, 2, 3, 255));
    EXPECT_EQ(c.at(1, 0), (Px{9, 9, 9, 255}));
    c.target.setMode(kModeXor);
    c.target.pixel(1, 0, makeRgba(3, 5, 6, 77));
    EXPECT_EQ(c.at(1, 0), (Px{9 ^ 3, 9 ^ 5, 9 ^ 6, 255}));
    // AllChannels overrides the blend and alpha modes.
    c.target.setMode(kModeAllChannels | kModeBlend | kModeAlphaOnly | kModeAlphaClip);
    EXPECT_EQ(c.target.mode(), kModeAllChannels);
    c.target.pixel(1, 0, makeRgba(4, 5, 6, 7));
    EXPECT_EQ(c.at(1, 0), (Px{4, 5, 6, 7}));
}

TEST(DrawTarget, BlendIsStraightAlphaOverInIntegers)
{
    Canvas c(4, 1, {10, 20, 30, 200});
    c.bytes[3] = 0; // pixel 0 is transparent
    c.target.setMode(kModeBlend);
    c.target.pixel(0, 0, makeRgba(200, 100, 50, 128));
    EXPECT_EQ(c.at(0, 0), (Px{200, 100, 50, 128}));
    c.target.pixel(1, 0, makeRgba(200, 100, 50, 100));
    // (c*a*255 + dc*(255-a)*da) / (da*(255-a) + a*255), alpha that over 255.
    EXPECT_EQ(c.at(1, 0), (Px{95, 56, 39, 221}));
    c.target.pixel(2, 0, makeRgba(200, 100, 50, 255));
    EXPECT_EQ(c.at(2, 0), (Px{200, 100, 50, 255}));
    c.target.pixel(3, 0, makeRgba(200, 100, 50, 0));
    EXPECT_EQ(c.at(3, 0), (Px{10, 20, 30, 200}));
    c.target.setMode(kModeAlphaClip);
    c.bytes[3] = 0;
    c.target.box(0, 0, 4, 1, makeRgba(0, 0, 0, 100));
    EXPECT_EQ(c.at(0, 0), (Px{200, 100, 50, 0})); // nothing to clip to: untouched
    EXPECT_EQ(c.at(3, 0), (Px{5, 10, 16, 200}));  // blended, alpha kept
}

TEST(DrawTarget, GradientAndCustomWritersWorkPerPixel)
{
    Canvas c(2, 3);
    c.target.setMode(kModeGradient);
    c.target.setBack(makeRgba(200, 100, 50, 255));
    c.target.box(0, 0, 2, 3, makeRgba(0, 0, 0, 0));
    EXPECT_EQ(c.at(1, 0), (Px{0, 0, 0, 0}));
    EXPECT_EQ(c.at(1, 1), (Px{100, 50, 25, 127}));
    EXPECT_EQ(c.at(0, 2), (Px{200, 100, 50, 255}));
    c.target.setMode(kModeCustom);
    c.target.box(0, 0, 2, 2, 1); // no writer yet: nothing changes
    EXPECT_EQ(c.at(1, 1), (Px{100, 50, 25, 127}));
    c.target.setCustomWriter([](int x, int y, Colour old, Colour colour) {
        return old + colour + static_cast<Colour>(x * 16 + y);
    });
    c.target.box(0, 0, 2, 2, 1);
    EXPECT_EQ(c.at(1, 1), (Px{100 + 1 + 17, 50, 25, 127}));
}

TEST(DrawTarget, BoxesClipAndOutlinesClipEachEdge)
{
    Canvas small(5, 5);
    small.target.setMode(kModeOutline);
    small.target.box(-1, -1, 10, 10, makeRgb(255, 0, 0));
    EXPECT_EQ(small.touched(), std::vector<std::string>(5, "....."));

    Canvas big(10, 10);
    big.target.setMode(kModeOutline);
    big.target.box(-1, -1, 10, 10, makeRgb(255, 0, 0));
    std::vector<std::string> expected(8, "........#.");
    expected.push_back("#########.");
    expected.push_back("..........");
    EXPECT_EQ(big.touched(), expected);

    Canvas a(5, 5), b(5, 5);
    a.target.box(3, 3, -2, -2, makeRgb(1, 0, 0));
    b.target.box(1, 1, 2, 2, makeRgb(1, 0, 0));
    EXPECT_EQ(a.bytes, b.bytes);
    a.target.box(-3, 2, 100, 1, makeRgb(1, 0, 0));
    EXPECT_EQ(a.touched()[2], "#####");
}

class FixedPainter final : public TextPainter {
public:
    TextSize measure(std::string_view text) const override { return {static_cast<int>(text.size()) * 2, 2}; }
    void draw(const PixelView& target, int x, int y, std::string_view, Colour colour) const override
    {
        target.pixels[static_cast<std::size_t>(y) * target.stride + static_cast<std::size_t>(x) * 4] =
            static_cast<std::uint8_t>(redOf(colour));
    }
};

TEST(DrawTarget, LabelsDrawThroughThePainterOnABackBox)
{
    FixedPainter painter;
    std::vector<std::uint8_t> bytes(8 * 3 * 4, 0);
    DrawTarget t({bytes.data(), 8, 3, 32}, &painter);
    ASSERT_TRUE(t.begin());
    EXPECT_EQ(t.labelWidth("abc"), 6);
    EXPECT_EQ(t.labelHeight("abc"), 2);
    EXPECT_EQ(t.label(1, 1, "ab", makeRgb(200, 0, 0), makeRgb(7, 0, 0)), 5);
    EXPECT_EQ(bytes[(8 + 1) * 4], 200);     // the text at (1, 1)
    EXPECT_EQ(bytes[(16 + 4) * 4], 7);      // the back box reaches (4, 2)
    EXPECT_EQ(bytes[(16 + 5) * 4], 0);
    t.setMode(kModeTransparent);
    EXPECT_EQ(t.label(5, 0, "a", makeRgb(9, 0, 0), makeRgb(7, 0, 0)), 7);
    EXPECT_EQ(bytes[5 * 4], 9);
    EXPECT_EQ(bytes[6 * 4], 0);
    DrawTarget bare({bytes.data(), 8, 3, 32});
    ASSERT_TRUE(bare.begin());
    EXPECT_EQ(bare.label(3, 0, "xyz", 1, 2), 3);
}

TEST(DrawTarget, DrawsOnlyBetweenBeginAndEnd)
{
    std::vector<std::uint8_t> bytes(4, 0);
    DrawTarget t({bytes.data(), 1, 1, 4});
    t.box(0, 0, 1, 1, makeRgb(5, 5, 5));
    EXPECT_EQ(bytes[0], 0);
    ASSERT_TRUE(t.begin());
    t.end();
    t.pixel(0, 0, makeRgb(5, 5, 5));
    EXPECT_EQ(bytes[0], 0);
    EXPECT_FALSE(DrawTarget(PixelView{}).begin());
}

} // namespace
