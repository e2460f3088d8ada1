#include "image/DrawTarget.h"

#include "image/TextPainter.h"

#include <algorithm>
#include <utility>

namespace th::image {
namespace {

using Prepared = DrawTarget::Prepared;

void rgbRow(const DrawTarget&, std::uint8_t* p, int, int, int count, const Prepared& c)
{
    for (int i = 0; i < count; ++i, p += 4) {
        p[0] = static_cast<std::uint8_t>(c.r);
        p[1] = static_cast<std::uint8_t>(c.g);
        p[2] = static_cast<std::uint8_t>(c.b);
    }
}

void xorRow(const DrawTarget&, std::uint8_t* p, int, int, int count, const Prepared& c)
{
    for (int i = 0; i < count; ++i, p += 4) {
        p[0] = static_cast<std::uint8_t>(p[0] ^ c.r);
        p[1] = static_cast<std::uint8_t>(p[1] ^ c.g);
        p[2] = static_cast<std::uint8_t>(p[2] ^ c.b);
    }
}

void allChannelsRow(const DrawTarget&, std::uint8_t* p, int, int, int count, const Prepared& c)
{
    for (int i = 0; i < count; ++i, p += 4) {
        p[0] = static_cast<std::uint8_t>(c.r);
        p[1] = static_cast<std::uint8_t>(c.g);
        p[2] = static_cast<std::uint8_t>(c.b);
        p[3] = static_cast<std::uint8_t>(c.a);
    }
}

void alphaOnlyRow(const DrawTarget&, std::uint8_t* p, int, int, int count, const Prepared& c)
{
    for (int i = 0; i < count; ++i, p += 4)
        p[3] = static_cast<std::uint8_t>(c.a);
}

// Straight-alpha "over" in integers, the colour's channels already
// multiplied by its alpha: (c*a*255 + dc*(255-a)*da) / (da*(255-a) + a*255).
void blendColour(std::uint8_t* p, const Prepared& c)
{
    const int da = p[3];
    if (c.a == 0)
        return;
    if (da == 0) {
        p[0] = static_cast<std::uint8_t>(c.r / c.a);
        p[1] = static_cast<std::uint8_t>(c.g / c.a);
        p[2] = static_cast<std::uint8_t>(c.b / c.a);
        return;
    }
    const int below = da * c.inverseA;
    const int total = below + c.a * 255;
    p[0] = static_cast<std::uint8_t>((c.r * 255 + p[0] * below) / total);
    p[1] = static_cast<std::uint8_t>((c.g * 255 + p[1] * below) / total);
    p[2] = static_cast<std::uint8_t>((c.b * 255 + p[2] * below) / total);
}

void blendRow(const DrawTarget&, std::uint8_t* p, int, int, int count, const Prepared& c)
{
    for (int i = 0; i < count; ++i, p += 4) {
        const int da = p[3];
        blendColour(p, c);
        p[3] = static_cast<std::uint8_t>((da * c.inverseA + c.a * 255) / 255);
    }
}

// Paints only where something is already visible and keeps the pixel's
// alpha, so colour lands inside a sprite's shape and never widens it.
void alphaClipRow(const DrawTarget&, std::uint8_t* p, int, int, int count, const Prepared& c)
{
    for (int i = 0; i < count; ++i, p += 4)
        if (p[3] != 0)
            blendColour(p, c);
}

} // namespace

DrawTarget::DrawTarget(PixelView pixels, const TextPainter* painter)
    : view_(pixels), painter_(painter)
{
    setMode(0);
}

bool DrawTarget::begin()
{
    active_ = view_.pixels && view_.width > 0 && view_.height > 0;
    return active_;
}

void DrawTarget::end() { active_ = false; }

void DrawTarget::setMode(int flags)
{
    if (flags & kModeAllChannels)
        flags &= ~(kModeAlphaOnly | kModeBlend | kModeAlphaClip);
    mode_ = flags;
    blend_ = (flags & (kModeBlend | kModeAlphaClip))
             && !(flags & (kModeXor | kModeGradient | kModeCustom | kModeAllChannels));
    if (flags & kModeCustom)
        writer_ = customRow;
    else if (flags & kModeGradient)
        writer_ = gradientRow;
    else if (flags & kModeXor)
        writer_ = xorRow;
    else if (flags & kModeAllChannels)
        writer_ = allChannelsRow;
    else if (flags & kModeAlphaOnly)
        writer_ = alphaOnlyRow;
    else if (flags & kModeBlend)
        writer_ = blendRow;
    else if (flags & kModeAlphaClip)
        writer_ = alphaClipRow;
    else
        writer_ = rgbRow;
    readsAll_ = (flags & (kModeAlphaOnly | kModeBlend | kModeAlphaClip | kModeCustom | kModeAllChannels)) != 0;
    preparedFront_ = prepare(front_);
}

DrawTarget::Prepared DrawTarget::prepare(Colour colour) const
{
    const int a = alphaOf(colour);
    const int scale = blend_ ? a : 1;
    return {colour, redOf(colour) * scale, greenOf(colour) * scale, blueOf(colour) * scale, a,
            255 - a};
}

void DrawTarget::setFront(Colour colour)
{
    if (colour != front_) {
        front_ = colour;
        preparedFront_ = prepare(colour);
    }
}

void DrawTarget::row(int x, int y, int count, const Prepared& colour)
{
    std::uint8_t* p = view_.pixels + static_cast<std::size_t>(y) * view_.stride
                      + static_cast<std::size_t>(x) * 4;
    writer_(*this, p, x, y, count, colour);
}

// Every row from the front colour at the top row to the back colour at the
// bottom row, each channel interpolated in integers.
void DrawTarget::gradientRow(const DrawTarget& t, std::uint8_t* p, int, int y, int count,
                             const Prepared&)
{
    const int span = std::max(t.view_.height - 1, 1);
    std::uint8_t c[4];
    for (int k = 0; k < 4; ++k) {
        const int from = static_cast<int>((t.front_ >> (8 * k)) & 255);
        const int to = static_cast<int>((t.back_ >> (8 * k)) & 255);
        c[k] = static_cast<std::uint8_t>(from + (to - from) * y / span);
    }
    for (int i = 0; i < count; ++i, p += 4)
        std::copy(c, c + 4, p);
}

void DrawTarget::customRow(const DrawTarget& t, std::uint8_t* p, int x, int y, int count,
                           const Prepared& c)
{
    if (!t.custom_)
        return;
    for (int i = 0; i < count; ++i, p += 4) {
        const Colour old = makeRgba(p[0], p[1], p[2], p[3]);
        const Colour now = t.custom_(x + i, y, old, c.colour);
        p[0] = static_cast<std::uint8_t>(redOf(now));
        p[1] = static_cast<std::uint8_t>(greenOf(now));
        p[2] = static_cast<std::uint8_t>(blueOf(now));
        p[3] = static_cast<std::uint8_t>(alphaOf(now));
    }
}

void DrawTarget::fill(int x0, int y0, int x1, int y1)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, view_.width);
    y1 = std::min(y1, view_.height);
    for (int y = y0; y < y1 && x0 < x1; ++y)
        row(x0, y, x1 - x0, preparedFront_);
}

void DrawTarget::outline(int x, int y, int w, int h)
{
    // Each edge clipped on its own; with h == 1 top and bottom are one row,
    // drawn twice, and with h <= 2 there are no side edges.
    fill(x, y, x + w, y + 1);
    fill(x, y + h - 1, x + w, y + h);
    fill(x, y + 1, x + 1, y + h - 1);
    fill(x + w - 1, y + 1, x + w, y + h - 1);
}

void DrawTarget::box(int x, int y, int w, int h, Colour colour)
{
    if (!active_)
        return;
    setFront(colour);
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    if (w == 0 || h == 0)
        return;
    if (mode_ & kModeOutline)
        outline(x, y, w, h);
    else
        fill(x, y, x + w, y + h);
}

void DrawTarget::pixel(int x, int y, Colour colour)
{
    if (active_)
        row(x, y, 1, prepare(colour));
}

Colour DrawTarget::readPixel(int x, int y) const
{
    if (!active_)
        return 0;
    const std::uint8_t* p = view_.pixels + static_cast<std::size_t>(y) * view_.stride
                            + static_cast<std::size_t>(x) * 4;
    return makeRgba(p[0], p[1], p[2], readsAll_ ? p[3] : 0);
}

int DrawTarget::label(int x, int y, std::string_view text, Colour front, Colour back)
{
    if (!active_)
        return x;
    setFront(front);
    back_ = back;
    const TextSize size = painter_ ? painter_->measure(text) : TextSize{};
    if (!(mode_ & kModeTransparent)) {
        box(x, y, size.width, size.height, back);
        setFront(front);
    }
    if (painter_)
        painter_->draw(view_, x, y, text, front);
    return x + size.width;
}

int DrawTarget::labelWidth(std::string_view text) const
{
    return painter_ ? painter_->measure(text).width : 0;
}

int DrawTarget::labelHeight(std::string_view text) const
{
    return painter_ ? painter_->measure(text).height : 0;
}

} // namespace th::image
