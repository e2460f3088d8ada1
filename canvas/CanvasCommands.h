#pragma once
// The commands that fill and empty the canvas: open an image folder, import
// one image, take what is dropped on the canvas, delete the selected image,
// start a new canvas. Plain C++: the user is asked through the host,
// pictures come through a loader, long work reports to a progress, and the
// window shows the results through CanvasDisplay.

#include "canvas/CanvasEdit.h"
#include "canvas/ImportReport.h"
#include "files/FileResult.h"
#include "image/Codec.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace th::toolkit {
class Host;
class Progress;
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
    // False for a picture whose data broke off: its last rows are blank.
    bool complete = true;
    // Why the file could not be read, when it could not.
    files::FileResult unread = {};
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
    // Decoding many pictures reports to `progress`, which may stop it; what
    // was loaded until then is kept.
    CanvasCommands(CanvasEditor& editor, toolkit::Host& host, PictureLoader load, CanvasDisplay& display,
                   toolkit::Progress* progress = nullptr);

    void openImageFolder();
    void importImage();
    // Things dropped on the canvas at canvas pixel (x, y) (see DropPlan.h):
    // the pictures go there as the single import places its one, together
    // as one change; a folder goes as "Open Image Folder" takes the chosen
    // one, asking first on a canvas that is not empty. One notice names
    // whatever was skipped.
    void drop(const std::vector<std::string>& dropped, std::int32_t x, std::int32_t y);
    void deleteImage();
    void newCanvas();
    // Whether a folder and several dropped files are imported in natural
    // order (NaturalOrder.h) rather than by the bytes of their names.
    void setNaturalOrder(bool natural) { naturalOrder_ = natural; }
    bool naturalOrder() const { return naturalOrder_; }

private:
    // False when the user keeps the canvas; true when it was empty or cleared.
    bool clearFirst();
    void clearCanvas();
    void importFolder(const std::string& folder);
    // The pictures at (x, y), in order, as one change, and what to tell
    // the user about them.
    ImportReport importAt(const std::vector<std::string>& paths, std::int32_t x, std::int32_t y);
    // Adds the file's picture at (x, y) to `added`, or says in the report
    // why there is none; true when a sprite was added.
    bool take(const std::string& path, std::int32_t x, std::int32_t y, AddSprites& added, ImportReport& report);
    void showReadouts();
    static SpriteEntry spriteOf(LoadedPicture& picture, const std::string& path, const std::string& name,
                                std::int32_t x, std::int32_t y);

    CanvasEditor& editor_;
    CanvasModel& model_;
    toolkit::Host& host_;
    PictureLoader load_;
    CanvasDisplay& display_;
    toolkit::Progress* progress_;
    bool naturalOrder_ = false;
};

} // namespace th::canvas
