#pragma once
// One sprite-sheet save: compose, bring to the chosen depth, write, free.

#include "canvas/SpriteList.h"
#include "export/SheetComposer.h"
#include "image/SaveResult.h"
#include "image/Color.h"

#include <cstdint>
#include <filesystem>

namespace th::image {
class ImageStore;
}
namespace th::toolkit {
class Progress;
}

namespace th::exporting {

struct SheetRequest {
    std::filesystem::path file;
    int width = 0;
    int height = 0;
    // The number of the depth list's entry: 32, 24, 18, 12, 8, 4 or 1.
    int depth = 32;
    image::Colour background = 0;
    Turn turn = Turn::CounterClockwise;
    // Pixels each visible box's edges are repeated outward (EdgeExtrusion.h).
    int extrude = 0;
    std::int32_t clipMargin = 0;
};

enum class SheetResult {
    Written,
    // The sheet image could not be made (a side of 0 or above 32767, or no memory).
    NotComposed,
    // The PNG could not be written; no file is left behind, an older one stays.
    NotWritten,
    // The user stopped the save; no file is left behind, an older one stays.
    Cancelled,
};

struct SheetOutcome {
    SheetResult result = SheetResult::Written;
    image::SaveResult problem; // why, for NotWritten
    // Sprites whose extruded edges met another's.
    int extrusionsMet = 0;
};

// Writes the sprites as a PNG sheet. The sheet image exists only during the
// call: it is freed whatever happens. `progress` hears of each stage and
// each written row, and may stop the save between them.
[[nodiscard]] SheetOutcome saveSpriteSheet(image::ImageStore& images, const canvas::SpriteList& sprites,
                                          const SheetRequest& request, toolkit::Progress* progress = nullptr);

} // namespace th::exporting
