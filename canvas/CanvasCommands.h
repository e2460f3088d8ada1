#pragma once
// The commands that fill and empty the canvas: open an image folder, import
// one image, delete the selected image, start a new canvas. Plain C++: the
// user is asked through the host, pictures come through a loader, and the
// window shows the results through CanvasDisplay.

#include "canvas/CanvasEdit.h"
#include "image/Codec.h"

#include <functional>
#include <optional>
#include <string>

namespace th::toolkit {
class Host;
}

namespace th::canvas {

struct LoadedPicture {
    ImageHandle image;
    int width;
    int height;
    // Frees the picture once no sprite or change holds it any more.
    PictureHold picture;
};

// What a loader made of a file: the picture, or why there is none and, for a
// picture too large, the size its file declared.
struct PictureLoad {
    std::optional<LoadedPicture> picture;
    image::DecodeStatus problem = image::DecodeStatus::NotAPicture;
    int declaredWidth = 0;
    int declaredHeight = 0;
};

// Reads a PNG file into a new picture.
using PictureLoader = std::function<PictureLoad(const std::string& path)>;

// What the commands need of the window around the canvas.
class CanvasDisplay {
public:
    virtual ~CanvasDisplay() = default;
    // Repaints the canvas from the model (and its overlay when it has sprites).
    virtual void redraw() = 0;
    virtual void showName(const std::string& text) = 0;
    virtual void showPosition(const std::string& text) = 0;
};

class CanvasCommands {
public:
    CanvasCommands(CanvasEditor& editor, toolkit::Host& host, PictureLoader load, CanvasDisplay& display);

    void openImageFolder();
    void importImage();
    void deleteImage();
    void newCanvas();

private:
    void clearCanvas();
    void showReadouts();
    static SpriteEntry spriteOf(LoadedPicture& picture, const std::string& path, const std::string& name,
                                std::int32_t x, std::int32_t y);

    CanvasEditor& editor_;
    CanvasModel& model_;
    toolkit::Host& host_;
    PictureLoader load_;
    CanvasDisplay& display_;
};

} // namespace th::canvas
