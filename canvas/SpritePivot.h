#pragma once
// Where a click puts a sprite's pivot: the clicked pixel's corner as a
// fraction of the sprite's visible box, in the box as it lies on the canvas
// (turned sprites included), so 0.5 falls between the two middle pixels.

#include "canvas/SpriteEntry.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

namespace th::canvas {

inline constexpr double kCentrePivot = 0.5;

// Nothing when canvas pixel (x, y) lies outside the visible box. Fractions
// keep four decimals, as projects and scripts show them.
inline std::optional<std::pair<double, double>> pivotAt(const SpriteEntry& sprite, std::int32_t clipMargin,
                                                        std::int32_t x, std::int32_t y)
{
    const VisibleBox box = visibleBox(sprite, clipMargin);
    if (x < box.left || y < box.top || x >= box.left + box.width || y >= box.top + box.height)
        return std::nullopt;
    const auto fraction = [](std::int64_t offset, std::int64_t size) {
        return std::round(double(offset) / double(size) * 10000.0) / 10000.0;
    };
    return std::pair{fraction(x - box.left, box.width), fraction(y - box.top, box.height)};
}

} // namespace th::canvas
