#pragma once
// What the canvas does with things dropped on it from the file manager:
// PNG pictures are imported where they are dropped, a folder as "Open Image
// Folder" imports it, and everything else is named as skipped.

#include <optional>
#include <string>
#include <vector>

namespace th::canvas {

struct DropPlan {
    // The first folder dropped; when there is one, nothing else is taken.
    std::optional<std::string> folder;
    // Files whose names end in ".png", any case; the decoder has the last word.
    std::vector<std::string> pictures;
    // Everything else, as dropped (paths, or addresses that are no files).
    std::vector<std::string> skipped;

    // Whether the canvas takes the drop at all; the drag cursor refuses it
    // otherwise.
    bool takesAny() const { return folder || !pictures.empty(); }
};

DropPlan planDrop(const std::vector<std::string>& dropped);

// The one notice naming what a drop skipped, by file name.
std::string skippedDropNotice(const std::vector<std::string>& skipped);

} // namespace th::canvas
