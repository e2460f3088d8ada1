#include "image/PngUnfilter.h"

#include <emmintrin.h>

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

// Four-byte pixels in SSE2 lanes (always there on x86-64), one pixel at a
// time, as each depends on the one to its left: the bytes sit in 16-bit
// lanes, so sums and differences need no care about overflow.
__m128i widen(const std::uint8_t* pixel)
{
    std::int32_t bytes;
    std::memcpy(&bytes, pixel, 4);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), _mm_setzero_si128());
}

// Lanes hold 0 ... 255 here, which the saturating pack keeps as they are.
void narrow(std::uint8_t* pixel, __m128i lanes)
{
    const std::int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(lanes, lanes));
    std::memcpy(pixel, &bytes, 4);
}

__m128i absolute(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

__m128i choose(__m128i mask, __m128i chosen, __m128i otherwise)
{
    return _mm_or_si128(_mm_and_si128(mask, chosen), _mm_andnot_si128(mask, otherwise));
}

bool looksLeft(Filter type) { return type == Sub || type == Average || type == Paeth; }

// Sub, Average and Paeth, whose predictions use the pixel on the left.
void unfilterLeftwardsFourByte(Filter type, const std::uint8_t* in, const std::uint8_t* up, std::uint8_t* out,
                               std::size_t bytes)
{
    const __m128i byteMask = _mm_set1_epi16(0xFF);
    __m128i left = _mm_setzero_si128();
    __m128i aboveLeft = _mm_setzero_si128();
    for (std::size_t i = 0; i + 4 <= bytes; i += 4) {
        const __m128i above = widen(up + i);
        __m128i prediction = left;
        if (type == Average) {
            prediction = _mm_srli_epi16(_mm_add_epi16(left, above), 1);
        } else if (type == Paeth) {
            const __m128i fromLeft = _mm_sub_epi16(above, aboveLeft);
            const __m128i fromAbove = _mm_sub_epi16(left, aboveLeft);
            const __m128i towardsLeft = absolute(fromLeft);
            const __m128i towardsAbove = absolute(fromAbove);
            const __m128i towardsAboveLeft = absolute(_mm_add_epi16(fromLeft, fromAbove));
            const __m128i nearest = _mm_min_epi16(towardsLeft, _mm_min_epi16(towardsAbove, towardsAboveLeft));
            // Ties go to the left, then above, as in paethPredictor.
            prediction = choose(_mm_cmpeq_epi16(nearest, towardsLeft), left,
                                choose(_mm_cmpeq_epi16(nearest, towardsAbove), above, aboveLeft));
        }
        left = _mm_and_si128(_mm_add_epi16(widen(in + i), prediction), byteMask);
        narrow(out + i, left);
        aboveLeft = above;
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
    case 4:
        if (looksLeft(filter))
            unfilterLeftwardsFourByte(filter, filtered, above, out, bytes);
        else
            unfilter<4>(filter, filtered, above, out, bytes);
        break;
    default: return false;
    }
    return true;
}

} // namespace th::image
