#pragma once
// A stand-in picture loader for the canvas commands: a file holding "W H" is
// a W x H picture, one holding "huge W H" declares a size beyond the decode
// budget, anything else is not a picture. A word after the size is the
// picture's look, so tests tell one version of a file from the next; the
// look "cut" is a picture whose data broke off.

#include "canvas/CanvasCommands.h"
#include "testing/TempHome.h"

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

namespace th::canvas::testing {

class StandInPictures {
public:
    PictureLoad load(const std::string& path)
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
    PictureLoader loader()
    {
        return [this](const std::string& path) { return load(path); };
    }

    int loaded = 0;
    std::map<ImageHandle, std::string> looks;
};

} // namespace th::canvas::testing
