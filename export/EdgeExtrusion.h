#pragma once
// Extruded edges: each sprite's visible box repeats its outermost row and
// column of pixels outward, so that a game's texture filtering finds the
// sprite's own colours beyond its edge instead of its neighbours'.

#include "canvas/SpriteEntry.h"
#include "image/PixelRows.h"

#include <cstdint>
#include <span>

namespace th::exporting {

inline constexpr int kMostExtrusion = 8;

// Fills every sheet pixel that no visible box covers and that lies within
// `pixels` (counted the larger way, across or down) of a visible box with the
// nearest pixel of that box as the sheet already shows it; of boxes equally
// near, the one drawn later wins. Returns how many sprites had such pixels
// that another box was near enough to claim too: their extrusions met.
int extrudeEdges(const image::PixelView& sheet, std::span<const canvas::SpriteEntry> sprites,
                 std::int32_t clipMargin, int pixels);

} // namespace th::exporting
