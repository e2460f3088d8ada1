#pragma once
// The palette network written step by step, as plainly as it can be, with no
// speed-up: the oracle that the library's quantiser must match bit for bit.

#include "image/PaletteQuantiser.h"

#include <vector>

namespace th::image::testing {

struct PlainResult {
    std::vector<PaletteEntry> palette;
    std::vector<int> indices; // one per pixel, top row first
};

// `rgba` holds width * height contiguous RGBA pixels; depth is 2 to 8.
// Without `mapPixels` the indices stay empty: large images learn quickly but
// map slowly here.
PlainResult plainQuantise(const std::vector<std::uint8_t>& rgba, int width, int height, int depth,
                          bool mapPixels = true);

} // namespace th::image::testing
