// Drawing is a library feature the application barely uses: one table of
// drawings on small canvases against every byte of the canvas afterwards.

#include "image/DrawTarget.h"
#include "image/TextPainter.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace {

using namespace th::image;
using Px = std::vector<std::uint8_t>;

// Text two pixels a character wide and two high, marked at its top-left.
class FixedPainter final : public TextPainter {
public:
    TextSize measure(std::string_view text) const override { return {int(text.size()) * 2, 2}; }
    void draw(const PixelView& target, int x, int y, std::string_view, Colour colour) const override
    {
        target.pixels[std::size_t(y) * target.stride + std::size_t(x) * 4] = std::uint8_t(redOf(colour));
    }
};

// A clear canvas's bytes from rows of characters, each one pixel: '.' is
// untouched, and any other character gives its code as the red byte (plain
// drawing keeps the alpha of 0).
Px canvas(const std::vector<std::string>& rows)
{
    Px bytes;
    for (const std::string& row : rows)
        for (const char c : row)
            bytes.insert(bytes.end(), {std::uint8_t(c == '.' ? 0 : c), 0, 0, 0});
    return bytes;
}

// Sets the mode, reads the pixel at (0, 0) in it and writes it.
std::function<void(DrawTarget&)> pixelIn(int mode, Colour colour, std::optional<Colour> read = {})
{
    return [=](DrawTarget& t) {
        t.setMode(mode);
        if (read) {
            EXPECT_EQ(t.readPixel(0, 0), *read) << "read before writing";
        }
        t.pixel(0, 0, colour);
    };
}

TEST(DrawTarget, EachDrawingWritesItsBytesClippedToTheTarget)
{
    const Colour red = makeRgb('#', 0, 0);
    struct Case {
        const char* name;
        int width;
        Px before; // every pixel's bytes
        std::function<void(DrawTarget&)> draw;
        Px after; // the whole canvas
    };
    const Case cases[] = {
        {"plain keeps alpha", 1, {10, 20, 30, 40}, pixelIn(0, makeRgba(255, 128, 0, 255), makeRgb(10, 20, 30)), {255, 128, 0, 40}},
        {"all channels", 1, {9, 9, 9, 9}, pixelIn(kModeAllChannels, makeRgba(1, 2, 3, 77), makeRgba(9, 9, 9, 9)), {1, 2, 3, 77}},
        {"all channels beat blend and alpha", 1, {9, 9, 9, 9},
         pixelIn(kModeAllChannels | kModeBlend | kModeAlphaOnly | kModeAlphaClip, makeRgba(4, 5, 6, 7), makeRgba(9, 9, 9, 9)), {4, 5, 6, 7}},
        {"alpha only", 1, {9, 9, 9, 9}, pixelIn(kModeAlphaOnly, makeRgba(1, 2, 3, 200), makeRgba(9, 9, 9, 9)), {9, 9, 9, 200}},
        {"xor keeps alpha", 1, {9, 9, 9, 255}, pixelIn(kModeXor, makeRgba(3, 5, 6, 77), makeRgb(9, 9, 9)), {9 ^ 3, 9 ^ 5, 9 ^ 6, 255}},
        // (c*a*255 + dc*(255-a)*da) / (da*(255-a) + a*255), alpha that over 255.
        {"blend", 1, {10, 20, 30, 200}, pixelIn(kModeBlend, makeRgba(200, 100, 50, 100), makeRgba(10, 20, 30, 200)), {95, 56, 39, 221}},
        {"blend onto clear", 1, {10, 20, 30, 0}, pixelIn(kModeBlend, makeRgba(200, 100, 50, 128)), {200, 100, 50, 128}},
        {"blend of alpha 0", 1, {10, 20, 30, 200}, pixelIn(kModeBlend, makeRgba(200, 100, 50, 0)), {10, 20, 30, 200}},
        {"alpha clip keeps alpha", 1, {10, 20, 30, 200}, pixelIn(kModeAlphaClip, makeRgba(0, 0, 0, 100), makeRgba(10, 20, 30, 200)), {5, 10, 16, 200}},
        {"alpha clip skips clear", 1, {200, 100, 50, 0}, pixelIn(kModeAlphaClip, makeRgba(0, 0, 0, 100)), {200, 100, 50, 0}},
        {"custom without a writer", 1, {1, 2, 3, 4}, pixelIn(kModeCustom, 1, makeRgba(1, 2, 3, 4)), {1, 2, 3, 4}},
        {"gradient rows run from the front to the back colour", 1, {0, 0, 0, 0}, [](DrawTarget& t) {
             t.setMode(kModeGradient);
             t.setBack(makeRgba(200, 100, 50, 255));
             t.box(0, 0, 1, 3, makeRgba(0, 0, 0, 0));
         }, {0, 0, 0, 0, 100, 50, 25, 127, 200, 100, 50, 255}},
        {"the custom writer gets the position, old pixel and colour", 2, {100, 50, 25, 127}, [](DrawTarget& t) {
             t.setMode(kModeCustom);
             t.setCustomWriter([](int x, int y, Colour old, Colour colour) { return old + colour + Colour(x * 16 + y); });
             t.box(1, 0, 1, 1, 1);
         }, {100, 50, 25, 127, 100 + 1 + 16, 50, 25, 127}},
        {"an outline's right and bottom edges inside", 4, {0, 0, 0, 0}, [=](DrawTarget& t) {
             t.setMode(kModeOutline);
             t.box(-1, -1, 4, 4, red);
         }, canvas({"..#.", "..#.", "###.", "...."})},
        {"negative sizes reach left and up, boxes past the edges are cut", 4, {0, 0, 0, 0}, [=](DrawTarget& t) {
             t.box(3, 3, -2, -2, red);
             t.box(-3, 0, 100, 1, red);
         }, canvas({"####", ".##.", ".##.", "...."})},
        {"nothing after end", 2, {0, 0, 0, 0}, [=](DrawTarget& t) {
             t.end();
             t.box(0, 0, 2, 2, red);
         }, canvas({"..", ".."})},
        // Text at (1, 1) and (5, 0); the first label's back box from (1, 1) to (4, 2).
        {"labels draw through the painter on a back box", 8, {0, 0, 0, 0}, [](DrawTarget& t) {
             EXPECT_EQ(std::pair(t.labelWidth("abc"), t.labelHeight("abc")), std::pair(6, 2));
             EXPECT_EQ(t.label(1, 1, "ab", makeRgb('c', 0, 0), makeRgb('a', 0, 0)), 5);
             t.setMode(kModeTransparent);
             EXPECT_EQ(t.label(5, 0, "a", makeRgb('b', 0, 0), makeRgb('a', 0, 0)), 7);
         }, canvas({".....b..", ".caaa...", ".aaaa..."})},
    };
    const FixedPainter painter;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Px bytes;
        while (bytes.size() < c.after.size())
            bytes.insert(bytes.end(), c.before.begin(), c.before.end());
        const int height = int(bytes.size() / 4) / c.width;
        DrawTarget target({bytes.data(), c.width, height, std::size_t(c.width) * 4}, &painter);
        ASSERT_TRUE(target.begin());
        c.draw(target);
        EXPECT_EQ(bytes, c.after);
    }
    EXPECT_FALSE(DrawTarget(PixelView{}).begin());
    Px one(4);
    DrawTarget bare({one.data(), 1, 1, 4});
    ASSERT_TRUE(bare.begin());
    EXPECT_EQ(bare.label(3, 0, "xyz", 1, 2), 3) << "no painter: no text and no width";
}

} // namespace
