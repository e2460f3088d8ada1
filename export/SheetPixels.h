#pragma once
// What the chosen depth does to the composed sheet's pixels before the write.

#include "image/Color.h"
#include "image/PixelRows.h"

namespace th::exporting {

// The depths a sheet can be written at, named by their bits a pixel. 18 and
// 12 keep the alpha channel with 6 and 4 bits a channel; 8, 4 and 1 are
// palette images; every other depth is flattened onto the background.
enum class SheetDepth : int {
    Bits32 = 32,
    Bits24 = 24,
    Bits18 = 18,
    Bits12 = 12,
    Bits8 = 8,
    Bits4 = 4,
    Bits1 = 1,
};

// 18 and 12 bit keep the sheet's transparency, so no background shows.
constexpr bool keepsTransparency(SheetDepth depth)
{
    return depth == SheetDepth::Bits18 || depth == SheetDepth::Bits12;
}

// The two backgrounds the export offers.
inline constexpr image::Colour kBlackBackground = image::makeRgba(0, 0, 0, 255);
inline constexpr image::Colour kMagentaBackground = image::makeRgba(255, 0, 255, 255);

// Makes every pixel opaque: one with alpha above 32 keeps its colour, a
// fainter one becomes the background colour.
void flattenAlpha(const image::PixelView& sheet, image::Colour background);

// Keeps the sheet's transparency but coarsens it for a smaller file: a
// pixel with alpha 32 or less becomes fully transparent (all four bytes 0),
// and every channel of the others, alpha included, is rounded to the nearest
// of 2^bits evenly spaced levels from 0 to 255 (bits 4 gives 0, 17, 34, ...).
void reduceKeepingAlpha(const image::PixelView& sheet, int bitsPerChannel);

// The depth number handed to the image library for a depth of the list:
// 12 and 18 bit are written as RGBA, every other depth as it is.
int savedDepth(int depth);

// Brings the sheet into the form written at `depth`: 12 and 18 bit keep
// their alpha with 4 and 6 bits a channel, every other depth is flattened
// onto the background.
void prepareSheetPixels(const image::PixelView& sheet, int depth, image::Colour background);

} // namespace th::exporting
