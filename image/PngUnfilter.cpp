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

// Sub, Average and Paeth on three-byte pixels, byte by byte. The first pixel
// has nothing on its left: its left and above-left bytes are 0.
void unfilterLeftwardsThreeByte(Filter type, const std::uint8_t* in, const std::uint8_t* up, std::uint8_t* out,
                                std::size_t bytes)
{
    constexpr std::size_t kPixel = 3;
    for (std::size_t i = 0; i < bytes; ++i) {
        const int left = i < kPixel ? 0 : out[i - kPixel];
        const int aboveLeft = i < kPixel ? 0 : up[i - kPixel];
        const int prediction = type == Sub       ? left
                               : type == Average ? (left + up[i]) >> 1
                                                 : paethPredictor(left, up[i], aboveLeft);
        out[i] = std::uint8_t(in[i] + prediction);
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

// Sub, Average and Paeth on four-byte pixels.
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
    if (type > Paeth || (pixelBytes != 3 && pixelBytes != 4))
        return false;
    const auto filter = Filter(type);
    if (filter == None) {
        std::memcpy(out, filtered, bytes);
    } else if (filter == Up) {
        for (std::size_t i = 0; i < bytes; ++i)
            out[i] = std::uint8_t(filtered[i] + above[i]);
    } else if (pixelBytes == 3) {
        unfilterLeftwardsThreeByte(filter, filtered, above, out, bytes);
    } else {
        unfilterLeftwardsFourByte(filter, filtered, above, out, bytes);
    }
    return true;
}

} // namespace th::image
