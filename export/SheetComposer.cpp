#include "export/SheetComposer.h"

#include "image/ImageStore.h"
#include "toolkit/Progress.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace th::exporting {

namespace {

// Porter-Duff "over" for straight (not premultiplied) 8-bit alpha, in
// integers. With sa, da the source and destination alphas and sc, dc one
// colour channel of each:
//   A       = sa * 255 + da * (255 - sa)          the result's alpha, times 255
//   alpha   = (A + 127) / 255                     rounded to nearest
//   channel = (sc * sa * 255 + dc * da * (255 - sa) + A / 2) / A
//                                                 the alpha-weighted mean, rounded
// A transparent source (sa 0) leaves the destination as it is. An opaque
// source, or an empty destination (da 0), gives the source pixel unchanged;
// the formulas give exactly that too, so those cases skip the arithmetic.
// The largest numerator, 255^3 + 255^3, fits easily in 32 bits.
inline void over(const std::uint8_t* source, std::uint8_t* destination)
{
    const std::uint32_t sa = source[3];
    if (sa == 0)
        return;
    const std::uint32_t da = destination[3];
    if (sa == 255 || da == 0) {
        std::memcpy(destination, source, 4);
        return;
    }
    const std::uint32_t behind = da * (255 - sa);
    const std::uint32_t total = sa * 255 + behind;
    for (int c = 0; c < 3; ++c)
        destination[c] = std::uint8_t((source[c] * sa * 255 + destination[c] * behind + total / 2) / total);
    destination[3] = std::uint8_t((total + 127) / 255);
}

// Positions in 64 bits: a sprite dragged far off the canvas must not wrap.
void drawPicture(const image::PixelView& sheet, const image::PixelView& picture, std::int64_t x,
                 std::int64_t y, bool rotated, Turn turn)
{
    const std::int64_t spanX = rotated ? picture.height : picture.width;
    const std::int64_t spanY = rotated ? picture.width : picture.height;
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t right = std::min<std::int64_t>(x + spanX, sheet.width);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t bottom = std::min<std::int64_t>(y + spanY, sheet.height);
    const std::int64_t count = right - left;
    if (count <= 0 || top >= bottom)
        return;

    const auto pictureStride = static_cast<std::int64_t>(picture.stride);
    for (std::int64_t row = top; row < bottom; ++row) {
        std::uint8_t* out = sheet.pixels + row * static_cast<std::int64_t>(sheet.stride) + left * 4;
        if (!rotated) {
            const std::uint8_t* in = picture.pixels + (row - y) * pictureStride + (left - x) * 4;
            for (std::int64_t i = 0; i < count; ++i, in += 4, out += 4)
                over(in, out);
        } else if (turn == Turn::CounterClockwise) {
            // This sheet row shows picture column u, read downwards from
            // picture row left - x as the sheet columns go right.
            const std::int64_t u = y + picture.width - 1 - row;
            const std::uint8_t* in = picture.pixels + (left - x) * pictureStride + u * 4;
            for (std::int64_t i = 0; i < count; ++i, in += pictureStride, out += 4)
                over(in, out);
        } else {
            // This sheet row shows picture column u, read upwards from
            // picture row pictureHeight - 1 - (left - x) as the columns go right.
            const std::int64_t u = row - y;
            const std::uint8_t* in = picture.pixels + (picture.height - 1 - (left - x)) * pictureStride + u * 4;
            for (std::int64_t i = 0; i < count; ++i, in -= pictureStride, out += 4)
                over(in, out);
        }
    }
}

} // namespace

std::optional<int> composeSheet(image::ImageStore& images, const canvas::SpriteList& sprites, int width,
                                int height, toolkit::Progress* progress, Turn turn)
{
    const std::optional<int> sheet = images.create(image::kAutoNumber, width, height, 0, image::Fill::TransparentBlack);
    if (!sheet)
        return std::nullopt;
    const image::PixelView target = images.handle(*sheet);
    const int total = int(sprites.size());
    for (int done = 0; done < total; ++done) {
        // A stop asked for here is still there at the caller's next step.
        static_cast<void>(toolkit::report(progress, toolkit::WorkStage::Composing, done, total));
        const canvas::SpriteEntry& sprite = sprites.entries()[std::size_t(done)];
        const image::PixelView picture = images.handle(sprite.image);
        if (picture)
            drawPicture(target, picture, sprite.x, sprite.y, sprite.rotated, turn);
    }
    return sheet;
}

} // namespace th::exporting
