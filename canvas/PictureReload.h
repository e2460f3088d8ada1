#pragma once
// What the canvas does when picture files change on disk: the files its
// sprites come from are read again, and every sprite made from a changed
// file takes the new picture as one undoable change. The watching itself
// is the window's (see PictureWatch.h); this decides what a gathered burst
// of changes does to the canvas.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasEdit.h"

#include <set>
#include <string>
#include <vector>

namespace th::canvas {

// The files the sprites on the canvas were read from, each once, sorted.
std::vector<std::string> pictureFilesOf(const CanvasModel& model);

class PictureReload {
public:
    PictureReload(CanvasEditor& editor, PictureLoader load);

    // Reads each changed file that a sprite still comes from, and gives every
    // such sprite its new picture, all in one change. A file that is gone or
    // cannot be read leaves its sprites as they are; a gone file is named
    // once, until it comes back. Returns the notice for the user: the
    // pictures whose size changed and the files that could not be read,
    // empty when nothing was reloaded or named.
    std::string reload(const std::vector<std::string>& changed);

private:
    CanvasEditor& editor_;
    PictureLoader load_;
    std::set<std::string> goneNamed_;
};

} // namespace th::canvas
