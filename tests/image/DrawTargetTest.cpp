// Drawing is a library feature the application barely uses: one table for
// the writers' bytes, one for box clipping, and labels through the hook.

#include "image/DrawTarget.h"
#include "image/TextPainter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::image;
using Px = std::vector<std::uint8_t>;

// A w x h RGBA canvas, every pixel `fill`, with a begun target over it.
struct Canvas {
    Canvas(int w, int h, Px fill = {0, 0, 0, 0}, const TextPainter* painter = nullptr)
        : width(w), bytes(std::size_t(w) * std::size_t(h) * 4), target({bytes.data(), w, h, std::size_t(w) * 4}, painter)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = fill[i % 4];
        EXPECT_TRUE(target.begin());
    }
    Px at(int x, int y) const { return Px(bytes.begin() + (y * width + x) * 4, bytes.begin() + (y * width + x + 1) * 4); }
    // Which pixels have a red byte, as rows of '#' and '.'.
    std::vector<std::string> touched() const
    {
        std::vector<std::string> rows;
        for (std::size_t i = 0; i < bytes.size() / 4; ++i) {
            if (i % std::size_t(width) == 0)
                rows.emplace_back();
            rows.back() += bytes[i * 4] ? '#' : '.';
        }
        return rows;
    }
    int width;
    Px bytes;
    DrawTarget target;
};

TEST(DrawTarget, EachModeWritesItsBytesAndReadsBackWhatItWrites)
{
    struct Case {
        const char* name;
        int mode;
        Px before;
        Colour colour;
        Px after;
        Colour read; // readPixel of `before`
    };
    const Case cases[] = {
        {"plain keeps alpha", 0, {10, 20, 30, 40}, makeRgba(255, 128, 0, 255), {255, 128, 0, 40}, makeRgb(10, 20, 30)},
        {"all channels", kModeAllChannels, {9, 9, 9, 9}, makeRgba(1, 2, 3, 77), {1, 2, 3, 77}, makeRgba(9, 9, 9, 9)},
        {"all channels beat blend and alpha", kModeAllChannels | kModeBlend | kModeAlphaOnly | kModeAlphaClip,
         {9, 9, 9, 9}, makeRgba(4, 5, 6, 7), {4, 5, 6, 7}, makeRgba(9, 9, 9, 9)},
        {"alpha only", kModeAlphaOnly, {9, 9, 9, 9}, makeRgba(1, 2, 3, 200), {9, 9, 9, 200}, makeRgba(9, 9, 9, 9)},
        {"xor keeps alpha", kModeXor, {9, 9, 9, 255}, makeRgba(3, 5, 6, 77), {9 ^ 3, 9 ^ 5, 9 ^ 6, 255}, makeRgb(9, 9, 9)},
        // (c*a*255 + dc*(255-a)*da) / (da*(255-a) + a*255), alpha that over 255.
        {"blend", kModeBlend, {10, 20, 30, 200}, makeRgba(200, 100, 50, 100), {95, 56, 39, 221}, makeRgba(10, 20, 30, 200)},
        {"blend onto clear", kModeBlend, {10, 20, 30, 0}, makeRgba(200, 100, 50, 128), {200, 100, 50, 128}, makeRgba(10, 20, 30, 0)},
        {"blend opaque", kModeBlend, {10, 20, 30, 200}, makeRgba(200, 100, 50, 255), {200, 100, 50, 255}, makeRgba(10, 20, 30, 200)},
        {"blend of alpha 0", kModeBlend, {10, 20, 30, 200}, makeRgba(200, 100, 50, 0), {10, 20, 30, 200}, makeRgba(10, 20, 30, 200)},
        {"alpha clip keeps alpha", kModeAlphaClip, {10, 20, 30, 200}, makeRgba(0, 0, 0, 100), {5, 10, 16, 200}, makeRgba(10, 20, 30, 200)},
        {"alpha clip skips clear", kModeAlphaClip, {200, 100, 50, 0}, makeRgba(0, 0, 0, 100), {200, 100, 50, 0}, makeRgba(200, 100, 50, 0)},
        {"custom without a writer", kModeCustom, {1, 2, 3, 4}, 1, {1, 2, 3, 4}, makeRgba(1, 2, 3, 4)},
    };
    for (const Case& c : cases) {
        Canvas canvas(1, 1, c.before);
        canvas.target.setMode(c.mode);
        EXPECT_EQ(canvas.target.readPixel(0, 0), c.read) << c.name;
        canvas.target.pixel(0, 0, c.colour);
        EXPECT_EQ(canvas.at(0, 0), c.after) << c.name;
    }

    // Gradient rows run from the front colour to the back colour; the custom
    // writer gets the position, the old pixel and the colour.
    Canvas c(2, 3);
    c.target.setMode(kModeGradient);
    c.target.setBack(makeRgba(200, 100, 50, 255));
    c.target.box(0, 0, 2, 3, makeRgba(0, 0, 0, 0));
    EXPECT_EQ(c.bytes, (Px{0, 0, 0, 0, 0, 0, 0, 0, 100, 50, 25, 127, 100, 50, 25, 127, 200, 100, 50, 255, 200, 100, 50, 255}));
    c.target.setMode(kModeCustom);
    c.target.setCustomWriter([](int x, int y, Colour old, Colour colour) { return old + colour + Colour(x * 16 + y); });
    c.target.box(1, 1, 1, 1, 1);
    EXPECT_EQ(c.at(1, 1), (Px{100 + 1 + 17, 50, 25, 127}));
}

TEST(DrawTarget, BoxesAndOutlinesAreClippedToTheTargetAndDrawOnlyWhileBegun)
{
    Canvas small(5, 5);
    small.target.setMode(kModeOutline);
    small.target.box(-1, -1, 10, 10, makeRgb(255, 0, 0));
    EXPECT_EQ(small.touched(), std::vector<std::string>(5, "....."));

    Canvas big(10, 10);
    big.target.setMode(kModeOutline);
    big.target.box(-1, -1, 10, 10, makeRgb(255, 0, 0));
    std::vector<std::string> expected(8, "........#.");
    expected.insert(expected.end(), {"#########.", ".........."});
    EXPECT_EQ(big.touched(), expected);

    // Negative sizes reach left and up; a box past every edge is cut.
    Canvas a(5, 5);
    a.target.box(3, 3, -2, -2, makeRgb(1, 0, 0));
    a.target.box(-3, 0, 100, 1, makeRgb(1, 0, 0));
    EXPECT_EQ(a.touched(), (std::vector<std::string>{"#####", ".##..", ".##..", ".....", "....."}));
    a.target.end();
    a.target.box(0, 4, 5, 1, makeRgb(1, 0, 0));
    EXPECT_EQ(a.touched()[4], ".....");
    EXPECT_FALSE(DrawTarget(PixelView{}).begin());
}

// Text two pixels a character wide and two high, marked at its top-left.
class FixedPainter final : public TextPainter {
public:
    TextSize measure(std::string_view text) const override { return {int(text.size()) * 2, 2}; }
    void draw(const PixelView& target, int x, int y, std::string_view, Colour colour) const override
    {
        target.pixels[std::size_t(y) * target.stride + std::size_t(x) * 4] = std::uint8_t(redOf(colour));
    }
};

TEST(DrawTarget, LabelsDrawThroughThePainterOnABackBox)
{
    FixedPainter painter;
    Canvas c(8, 3, {0, 0, 0, 0}, &painter);
    EXPECT_EQ(std::pair(c.target.labelWidth("abc"), c.target.labelHeight("abc")), std::pair(6, 2));
    EXPECT_EQ(c.target.label(1, 1, "ab", makeRgb(200, 0, 0), makeRgb(7, 0, 0)), 5);
    c.target.setMode(kModeTransparent);
    EXPECT_EQ(c.target.label(5, 0, "a", makeRgb(9, 0, 0), makeRgb(7, 0, 0)), 7);
    // Reds: the text at (1, 1) and (5, 0), the back box from (1, 1) to (4, 2).
    std::vector<int> reds;
    for (std::size_t i = 0; i < c.bytes.size(); i += 4)
        reds.push_back(c.bytes[i]);
    EXPECT_EQ(reds, (std::vector<int>{0, 0, 0, 0, 0, 9, 0, 0, 0, 200, 7, 7, 7, 0, 0, 0, 0, 7, 7, 7, 7, 0, 0, 0}));
    Canvas bare(8, 3);
    EXPECT_EQ(bare.target.label(3, 0, "xyz", 1, 2), 3);
}

} // namespace
