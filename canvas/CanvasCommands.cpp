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

std::string tooLargeNotice(const std::string& name, const PictureLoad& load)
{
    const std::string budget = std::to_string(image::kDecodeBudgetSide);
    return "\"" + name + "\" declares " + std::to_string(load.declaredWidth) + " × "
           + std::to_string(load.declaredHeight) + " pixels; pictures of more than " + budget + " × " + budget
           + " pixels are not read.";
}

bool tooLarge(const PictureLoad& load) { return load.problem == image::DecodeStatus::TooLarge; }

} // namespace

CanvasCommands::CanvasCommands(CanvasEditor& editor, toolkit::Host& host, PictureLoader load, CanvasDisplay& display)
    : editor_(editor)
    , model_(editor.model())
    , host_(host)
    , load_(std::move(load))
    , display_(display)
{
}

void CanvasCommands::showReadouts()
{
    display_.showPosition(positionReadout(model_));
    display_.showName(nameLabel(model_));
}

void CanvasCommands::clearCanvas()
{
    editor_.perform(ClearCanvas{});
    display_.redraw();
    showReadouts();
}

// A sprite at (x, y) that takes over the picture's hold; only loaded
// pictures become sprites, so none without a picture reaches the canvas.
SpriteEntry CanvasCommands::spriteOf(LoadedPicture& picture, const std::string& path, const std::string& name,
                                     std::int32_t x, std::int32_t y)
{
    return SpriteEntry{.image = picture.image, .x = x, .y = y, .width = picture.width, .height = picture.height,
                       .name = name, .sourcePath = path, .picture = std::move(picture.picture)};
}

void CanvasCommands::openImageFolder()
{
    if (!model_.sprites().empty()) {
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

    // The whole folder is one change.
    AddSprites added{.placeX = model_.placeX(), .placeY = model_.placeY()};
    std::optional<std::int32_t> previousHeight;
    if (const SpriteEntry* current = model_.sprites().current())
        previousHeight = current->height;
    std::int32_t lastWidth = 0;
    int skipped = 0;
    std::vector<std::string> tooLargeLines;
    for (const std::string& name : *names) {
        // Would one more picture as wide as the last one pass the right edge?
        if (added.placeX + lastWidth > model_.canvasSize()) {
            added.placeX = 0;
            added.placeY += previousHeight.value_or(0);
        }
        PictureLoad load = load_(folder + name);
        if (!load.picture) {
            if (tooLarge(load))
                tooLargeLines.push_back(tooLargeNotice(name, load));
            else
                ++skipped;
            continue;
        }
        added.sprites.push_back(spriteOf(*load.picture, folder + name, name, added.placeX, added.placeY));
        lastWidth = load.picture->width;
        previousHeight = load.picture->height;
        added.placeX += lastWidth;
    }
    editor_.perform(std::move(added));
    display_.showName(nameLabel(model_));
    selectTopAndRedraw(model_, display_);
    std::string notice = skipped > 0 ? skippedNotice(skipped) : "";
    for (const std::string& line : tooLargeLines)
        notice += (notice.empty() ? "" : "\n") + line;
    if (!notice.empty())
        host_.message("Wait!", notice);
}

void CanvasCommands::importImage()
{
    const std::string path = host_.openPanel("Select Image...", "*.png");
    if (path.empty())
        return;
    const std::string name = path.substr(path.find_last_of('/') + 1);
    PictureLoad load = load_(path);
    if (!load.picture) {
        host_.message("Wait!", tooLarge(load) ? tooLargeNotice(name, load)
                                              : "\"" + name + "\" could not be read as a PNG picture.");
        return;
    }
    AddSprites added{.placeX = model_.placeX(), .placeY = model_.placeY()};
    added.sprites.push_back(spriteOf(*load.picture, path, name, model_.placeX(), model_.placeY()));
    editor_.perform(std::move(added));
    display_.showName(nameLabel(model_));
    display_.showPosition(positionReadout(model_));
    selectTopAndRedraw(model_, display_);
}

void CanvasCommands::deleteImage()
{
    if (model_.sprites().empty()) {
        host_.message(kNoImagesTitle, "There are no images to delete!");
        // An import that found nothing left the canvas active; this ends that.
        if (model_.canvasActive())
            editor_.perform(ClearCanvas{});
        return;
    }
    if (!host_.ask("Delete Image?", "Are you sure you want to delete an image?"))
        return;
    if (const std::optional<std::size_t> current = model_.sprites().currentPosition())
        editor_.perform(RemoveSprite{.position = *current});
    if (!model_.sprites().empty()) {
        display_.showName(nameLabel(model_));
        selectTopAndRedraw(model_, display_);
        return;
    }
    display_.redraw();
    showReadouts();
}

void CanvasCommands::newCanvas()
{
    if (model_.sprites().empty()) {
        host_.message(kNoImagesTitle, "There are no images to clear from the grid.");
        return;
    }
    if (host_.ask(kClearTitle, "Are you sure you want to clear the canvas?"))
        clearCanvas();
}

} // namespace th::canvas
