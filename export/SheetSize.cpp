#include "export/SheetSize.h"

namespace th::exporting {

std::int32_t roundToPowerOfTwo(std::int32_t value)
{
    for (std::int32_t power = 2; power <= 4096; power *= 2) {
        if (power >= value)
            return power;
    }
    return value;
}

SheetSize sheetSizeFor(std::int32_t extentX, std::int32_t extentY, bool powerOfTwo)
{
    if (!powerOfTwo)
        return {extentX, extentY};
    return {roundToPowerOfTwo(extentX), roundToPowerOfTwo(extentY)};
}

} // namespace th::exporting
