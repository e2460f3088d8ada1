#pragma once
// A stand-in for the window around the canvas: counts repaints and keeps
// every text shown, so tests can check what the user would see.

#include "canvas/CanvasCommands.h"
#include "testing/DescribeCanvas.h"

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

// A canvas, its editor, which keeps every finished change, and the display;
// the sprites go on as one import, numbered 1 to N in this order, the last
// one current.
struct DisplayedCanvas {
    explicit DisplayedCanvas(std::vector<SpriteEntry> sprites = {})
    {
        if (!sprites.empty())
            editor.perform(AddSprites{.sprites = std::move(sprites)});
        steps.clear();
    }

    CanvasModel model;
    std::vector<CanvasEdit> steps;
    CanvasEditor editor{model, [this](CanvasEdit edit) { steps.push_back(std::move(edit)); }};
    RecordingDisplay display;
};

} // namespace th::canvas::testing
