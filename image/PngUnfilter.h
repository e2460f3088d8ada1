#pragma once
// PNG's five row filters undone: each byte of a filtered row is a difference
// from a prediction made of the byte one pixel to its left, the byte above it
// and the byte above that left one, all as unfiltered.

#include <cstddef>
#include <cstdint>

namespace th::image {

// `filtered` holds a row's `bytes` after its filter-type byte `type`; `above`
// is the unfiltered row above it (zeros for the first row); `pixelBytes` is
// 3 or 4, the RGB and RGBA rows of 8-bit samples. Writes the unfiltered row
// to `out`, which may not overlap `filtered`. False, with `out` undefined,
// for a filter type PNG does not define or another pixel size.
[[nodiscard]] bool unfilterRow(std::uint8_t type, const std::uint8_t* filtered, const std::uint8_t* above,
                               std::uint8_t* out, std::size_t bytes, std::size_t pixelBytes);

} // namespace th::image
