#pragma once
// The sheet's size in pixels, from the used area of the canvas.

#include <cstdint>

namespace th::exporting {

// The smallest power of two from 2 to 4096 that is at least `value`, so 0
// and 1 give 2; a value above 4096 is returned as it is.
std::int32_t roundToPowerOfTwo(std::int32_t value);

struct SheetSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The used area as measured, each side rounded on its own when asked.
SheetSize sheetSizeFor(std::int32_t extentX, std::int32_t extentY, bool powerOfTwo);

} // namespace th::exporting
