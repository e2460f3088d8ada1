#include "image/PngUnfilter.h"

#include <cstdlib>
#include <cstring>

namespace th::image {
namespace {

enum Filter : std::uint8_t { None, Sub, Up, Average, Paeth };

std::uint8_t paethPredictor(int left, int above, int aboveLeft)
{
    const int towardsLeft = std::abs(above - aboveLeft);
    const int towardsAbove = std::abs(left - aboveLeft);
    const int towardsAboveLeft = std::abs(left + above - 2 * aboveLeft);
    if (towardsLeft <= towardsAbove && towardsLeft <= towardsAboveLeft)
        return std::uint8_t(left);
    return std::uint8_t(towardsAbove <= towardsAboveLeft ? above : aboveLeft);
}

// The first pixel has nothing on its left: its left and above-left bytes
// are 0, so the rows below start from there.
template <std::size_t kPixel>
void unfilter(Filter type, const std::uint8_t* in, const std::uint8_t* up, std::uint8_t* out, std::size_t bytes)
{
    const std::size_t first = bytes < kPixel ? bytes : kPixel;
    switch (type) {
    case None:
        std::memcpy(out, in, bytes);
        return;
    case Sub:
        std::memcpy(out, in, first);
        for (std::size_t i = kPixel; i < bytes; ++i)
            out[i] = std::uint8_t(in[i] + out[i - kPixel]);
        return;
    case Up:
        for (std::size_t i = 0; i < bytes; ++i)
            out[i] = std::uint8_t(in[i] + up[i]);
        return;
    case Average:
        for (std::size_t i = 0; i < first; ++i)
            out[i] = std::uint8_t(in[i] + (up[i] >> 1));
        for (std::size_t i = kPixel; i < bytes; ++i)
            out[i] = std::uint8_t(in[i] + ((out[i - kPixel] + up[i]) >> 1));
        return;
    case Paeth:
        for (std::size_t i = 0; i < first; ++i)
            out[i] = std::uint8_t(in[i] + up[i]);
        for (std::size_t i = kPixel; i < bytes; ++i)
            out[i] = std::uint8_t(in[i] + paethPredictor(out[i - kPixel], up[i], up[i - kPixel]));
        return;
    }
}

} // namespace

bool unfilterRow(std::uint8_t type, const std::uint8_t* filtered, const std::uint8_t* above, std::uint8_t* out,
                 std::size_t bytes, std::size_t pixelBytes)
{
    if (type > Paeth)
        return false;
    const auto filter = Filter(type);
    // The pixel sizes the decoder reads this way get a loop of their own each.
    switch (pixelBytes) {
    case 3: unfilter<3>(filter, filtered, above, out, bytes); break;
    case 4: unfilter<4>(filter, filtered, above, out, bytes); break;
    default: return false;
    }
    return true;
}

} // namespace th::image
