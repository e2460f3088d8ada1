#pragma once
// A sprite entry at a given place and size, for canvases and lists in tests;
// its picture number is its index.

#include "canvas/SpriteEntry.h"

#include <string>

namespace th::testing {

inline canvas::SpriteEntry placed(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                  bool rotated = false, std::string name = "s.png", std::int32_t index = 0)
{
    return {.image = index, .x = x, .y = y, .width = width, .height = height, .rotated = rotated,
            .name = std::move(name), .index = index};
}

} // namespace th::testing
