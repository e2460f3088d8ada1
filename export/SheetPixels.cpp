#include "export/SheetPixels.h"

#include <array>
#include <cstdint>

namespace th::exporting {

namespace {

// Alpha at or below this is too faint to keep.
constexpr int kFaintAlpha = 32;

// Each value's nearest level, spread back over 0 - 255.
std::array<std::uint8_t, 256> levelTable(int bits)
{
    const int top = (1 << bits) - 1;
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        const int level = (value * top + 127) / 255;
        table[std::size_t(value)] = std::uint8_t((level * 255 + top / 2) / top);
    }
    return table;
}

template <typename Change>
void forEachPixel(const image::PixelView& sheet, Change change)
{
    for (int y = 0; y < sheet.height; ++y) {
        std::uint8_t* p = sheet.pixels + std::size_t(y) * sheet.stride;
        for (int x = 0; x < sheet.width; ++x, p += 4)
            change(p);
    }
}

} // namespace

void flattenAlpha(const image::PixelView& sheet, image::Colour background)
{
    const std::uint8_t r = std::uint8_t(image::redOf(background));
    const std::uint8_t g = std::uint8_t(image::greenOf(background));
    const std::uint8_t b = std::uint8_t(image::blueOf(background));
    forEachPixel(sheet, [=](std::uint8_t* p) {
        if (p[3] <= kFaintAlpha) {
            p[0] = r;
            p[1] = g;
            p[2] = b;
        }
        p[3] = 255;
    });
}

void reduceKeepingAlpha(const image::PixelView& sheet, int bitsPerChannel)
{
    const std::array<std::uint8_t, 256> level = levelTable(bitsPerChannel);
    forEachPixel(sheet, [&level](std::uint8_t* p) {
        if (p[3] <= kFaintAlpha) {
            p[0] = p[1] = p[2] = p[3] = 0;
            return;
        }
        for (int c = 0; c < 4; ++c)
            p[c] = level[p[c]];
    });
}

int savedDepth(int depth)
{
    return keepsTransparency(SheetDepth(depth)) ? 32 : depth;
}

void prepareSheetPixels(const image::PixelView& sheet, int depth, image::Colour background)
{
    if (depth == 12)
        reduceKeepingAlpha(sheet, 4);
    else if (depth == 18)
        reduceKeepingAlpha(sheet, 6);
    else
        flattenAlpha(sheet, background);
}

} // namespace th::exporting
