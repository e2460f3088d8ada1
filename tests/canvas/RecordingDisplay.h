#pragma once
// Stand-ins for what surrounds the canvas in tests: the window, which counts
// repaints and keeps every text shown, so tests can check what the user
// would see, and the picture loader.

#include "canvas/CanvasCommands.h"
#include "testing/DescribeCanvas.h"
#include "testing/TempHome.h"

#include <filesystem>
#include <map>
#include <sstream>
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

// A picture loader, handed in by std::ref: a file holding "W H" is a W x H
// picture, one holding "huge W H" declares a size beyond the decode budget,
// anything else is not a picture. A word after the size is the picture's
// look, so tests tell one version of a file from the next; the look "cut" is
// a picture whose data broke off.
class StandInPictures {
public:
    PictureLoad operator()(const std::string& path)
    {
        if (!std::filesystem::exists(path))
            return {};
        std::istringstream text(th::testing::readBytes(path));
        int width = 0, height = 0;
        if (text.peek() == 'h' && text.ignore(4) && text >> width >> height)
            return {std::nullopt, image::DecodeStatus::TooLarge, width, height};
        if (!(text >> width >> height))
            return {};
        const ImageHandle image = ++loaded;
        text >> looks[image];
        PictureHold hold = holdPicture(image, [](ImageHandle) {});
        return {LoadedPicture{image, width, height, std::move(hold)}, image::DecodeStatus::Decoded, width, height,
                looks[image] != "cut"};
    }
    int loaded = 0;
    std::map<ImageHandle, std::string> looks;
};

} // namespace th::canvas::testing
