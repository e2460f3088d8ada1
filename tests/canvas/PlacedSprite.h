#pragma once
// A sprite entry at a given place and size, for building canvases in tests.

#include "canvas/SpriteEntry.h"

#include <cstdint>
#include <string>

namespace th::canvas::testing {

inline SpriteEntry placed(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          bool rotated = false, const std::string& name = "s.png")
{
    SpriteEntry entry;
    entry.x = x;
    entry.y = y;
    entry.width = width;
    entry.height = height;
    entry.rotated = rotated;
    entry.name = name;
    return entry;
}

} // namespace th::canvas::testing
