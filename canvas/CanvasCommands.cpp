#include "canvas/CanvasCommands.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"
#include "files/FolderListing.h"
#include "toolkit/Host.h"

namespace th::canvas {

namespace {

constexpr const char* kClearTitle = "Clear the Canvas?";
constexpr const char* kNoImagesTitle = "No Images!";

std::string skippedNotice(int skipped)
{
    if (skipped == 1)
        return "1 file could not be read as a PNG picture and was skipped.";
    return std::to_string(skipped) + " files could not be read as PNG pictures and were skipped.";
}

} // namespace

CanvasCommands::CanvasCommands(CanvasModel& model, toolkit::Host& host, PictureLoader load, CanvasDisplay& display)
    : model_(model)
    , host_(host)
    , load_(std::move(load))
    , display_(display)
{
}

void CanvasCommands::resetToEmpty()
{
    model_.placeX = model_.placeY = 0;
    model_.canvasActive = 0;
    model_.nextIndex = 0;
    model_.clipMargin = 0;
    model_.measureUsedArea();
    display_.showPosition(positionReadout(model_));
    display_.showName(nameLabel(model_));
}

void CanvasCommands::clearCanvas()
{
    model_.sprites.clear();
    display_.redraw();
    resetToEmpty();
}

// Adds a sprite at the import place; a file that is not a readable picture is
// passed over so no sprite without a picture reaches the canvas.
bool CanvasCommands::addPicture(const std::string& path, const std::string& name)
{
    const std::optional<LoadedPicture> picture = load_(path);
    if (!picture)
        return false;
    SpriteEntry entry;
    entry.image = picture->image;
    entry.x = model_.placeX;
    entry.y = model_.placeY;
    entry.width = picture->width;
    entry.height = picture->height;
    entry.name = name;
    model_.addSprite(std::move(entry));
    return true;
}

void CanvasCommands::openImageFolder()
{
    if (!model_.sprites.empty()) {
        if (!host_.ask(kClearTitle, "Are you sure you want to clear the canvas and load new images?"))
            return;
        clearCanvas();
    }
    const std::string folder = host_.chooseFolder("Select Image Folder...", "");
    if (folder.empty())
        return;
    const auto names = files::listFolder(folder, "*.png");
    if (!names)
        return;

    const int size = display_.canvasSize();
    int lastWidth = 0;
    int skipped = 0;
    for (const std::string& name : *names) {
        // Would one more picture as wide as the last one pass the right edge?
        if (model_.placeX + lastWidth > size) {
            model_.placeX = 0;
            if (const SpriteEntry* previous = model_.sprites.current())
                model_.placeY += previous->height;
        }
        if (!addPicture(folder + name, name)) {
            ++skipped;
            continue;
        }
        lastWidth = model_.sprites.current()->width;
        model_.placeX += lastWidth;
    }
    model_.canvasActive = 1;
    display_.showName(nameLabel(model_));
    redrawWithOverlay(model_, display_);
    if (skipped > 0)
        host_.message("Wait!", skippedNotice(skipped));
}

void CanvasCommands::importImage()
{
    const std::string path = host_.openPanel("Select Image...", "*.png");
    if (path.empty())
        return;
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (!addPicture(path, name)) {
        host_.message("Wait!", "\"" + name + "\" could not be read as a PNG picture.");
        return;
    }
    model_.canvasActive = 1;
    display_.showName(nameLabel(model_));
    display_.showPosition(positionReadout(model_));
    redrawWithOverlay(model_, display_);
}

void CanvasCommands::deleteImage()
{
    if (model_.sprites.empty()) {
        host_.message(kNoImagesTitle, "There are no images to delete!");
        model_.canvasActive = 0;
        return;
    }
    if (!host_.ask("Delete Image?", "Are you sure you want to delete an image?"))
        return;
    model_.sprites.removeCurrent();
    if (!model_.sprites.empty()) {
        display_.showName(nameLabel(model_));
        redrawWithOverlay(model_, display_);
        return;
    }
    display_.redraw();
    resetToEmpty();
}

void CanvasCommands::newCanvas()
{
    if (model_.sprites.empty()) {
        host_.message(kNoImagesTitle, "There are no images to clear from the grid.");
        return;
    }
    if (host_.ask(kClearTitle, "Are you sure you want to clear the canvas?"))
        clearCanvas();
}

} // namespace th::canvas
