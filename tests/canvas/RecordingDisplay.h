#pragma once
// A stand-in for the window around the canvas: counts repaints and keeps
// every text shown, so tests can check what the user would see.

#include "canvas/CanvasCommands.h"

#include <string>
#include <vector>

namespace th::canvas::testing {

class RecordingDisplay final : public CanvasDisplay {
public:
    void redraw() override { ++redraws; }
    void showName(const std::string& text) override { names.push_back(text); }
    void showPosition(const std::string& text) override { positions.push_back(text); }

    bool untouched() const { return redraws == 0 && names.empty() && positions.empty(); }

    int redraws = 0;
    std::vector<std::string> names;
    std::vector<std::string> positions;
};

// Puts the sprites on an empty canvas as one import, numbered 1 to N in this
// order; the last one is current.
inline void placeAll(CanvasEditor& editor, std::vector<SpriteEntry> sprites)
{
    editor.perform(AddSprites{.sprites = std::move(sprites)});
}

// The model as one line: sprites in drawing order (name, index, place, size,
// T when turned), then the current sprite's name and the other values.
inline std::string describe(const CanvasModel& model)
{
    std::string text;
    for (const SpriteEntry& s : model.sprites().entries()) {
        text += s.name + "#" + std::to_string(s.index) + "@" + std::to_string(s.x) + "," + std::to_string(s.y) + " " +
                std::to_string(s.width) + "x" + std::to_string(s.height) + (s.rotated ? "T " : " ");
    }
    const SpriteEntry* current = model.sprites().current();
    return text + "| current " + (current ? current->name : "-") + ", clip " + std::to_string(model.clipMargin()) +
           ", place " + std::to_string(model.placeX()) + "," + std::to_string(model.placeY()) +
           (model.canvasActive() ? ", active" : ", inactive") + ", size " + std::to_string(model.canvasSize());
}

} // namespace th::canvas::testing
