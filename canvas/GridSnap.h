#pragma once
// The 8-pixel grid that the snap switch puts dragged and dropped sprites on.

#include <cstdint>

namespace th::canvas {

inline constexpr std::int32_t kGrid = 8;

// The grid step at or below v (toward zero, as C++ division truncates), plus
// one step: a position already on the grid moves one step further, and
// -3 lands on 8 while -13 lands on 0.
constexpr std::int32_t snappedToGrid(std::int32_t v)
{
    return v - v % kGrid + kGrid;
}

} // namespace th::canvas
