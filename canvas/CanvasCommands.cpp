#include "canvas/CanvasCommands.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"
#include "canvas/DropPlan.h"
#include "files/FolderListing.h"
#include "toolkit/Host.h"
#include "toolkit/Progress.h"

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

std::string fileName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// Lines under one another, as one notice.
std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

} // namespace

CanvasCommands::CanvasCommands(CanvasEditor& editor, toolkit::Host& host, PictureLoader load, CanvasDisplay& display,
                               toolkit::Progress* progress)
    : editor_(editor)
    , model_(editor.model())
    , host_(host)
    , load_(std::move(load))
    , display_(display)
    , progress_(progress)
{
}

void CanvasCommands::showReadouts()
{
    display_.showPosition(positionReadout(model_));
    display_.showName(nameLabel(model_));
}

bool CanvasCommands::clearFirst()
{
    if (model_.sprites().empty())
        return true;
    if (!host_.ask(kClearTitle, "Are you sure you want to clear the canvas and load new images?"))
        return false;
    clearCanvas();
    return true;
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
    if (!clearFirst())
        return;
    const std::string folder = host_.chooseFolder("Select Image Folder...", "");
    if (!folder.empty())
        importFolder(folder);
}

void CanvasCommands::importFolder(const std::string& folder)
{
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
    {
        const toolkit::ProgressScope work(progress_);
        const int total = int(names->size());
        for (int done = 0; done < total; ++done) {
            if (!toolkit::report(progress_, toolkit::WorkStage::Decoding, done + 1, total))
                break;
            const std::string& name = (*names)[std::size_t(done)];
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
            lastWidth = load.picture->width;
            previousHeight = load.picture->height;
            added.sprites.push_back(spriteOf(*load.picture, folder + name, name, added.placeX, added.placeY));
            added.placeX += lastWidth;
        }
    }
    editor_.perform(std::move(added));
    display_.showName(nameLabel(model_));
    selectTopAndRedraw(model_, display_);
    if (skipped > 0)
        tooLargeLines.insert(tooLargeLines.begin(), skippedNotice(skipped));
    if (!tooLargeLines.empty())
        host_.message("Wait!", joined(tooLargeLines));
}

std::vector<std::string> CanvasCommands::importAt(const std::vector<std::string>& paths, std::int32_t x,
                                                  std::int32_t y, std::vector<std::string>& skipped)
{
    std::vector<std::string> tooLargeLines;
    // The import place stays where it was, as after a single import.
    AddSprites added{.placeX = model_.placeX(), .placeY = model_.placeY()};
    {
        const toolkit::ProgressScope work(progress_);
        const int total = int(paths.size());
        for (int done = 0; done < total; ++done) {
            if (!toolkit::report(progress_, toolkit::WorkStage::Decoding, done + 1, total))
                break;
            const std::string& path = paths[std::size_t(done)];
            PictureLoad load = load_(path);
            if (load.picture)
                added.sprites.push_back(spriteOf(*load.picture, path, fileName(path), x, y));
            else if (tooLarge(load))
                tooLargeLines.push_back(tooLargeNotice(fileName(path), load));
            else
                skipped.push_back(path);
        }
    }
    if (added.sprites.empty())
        return tooLargeLines;
    editor_.perform(std::move(added));
    display_.showName(nameLabel(model_));
    display_.showPosition(positionReadout(model_));
    selectTopAndRedraw(model_, display_);
    return tooLargeLines;
}

void CanvasCommands::importImage()
{
    const std::string path = host_.openPanel("Select Image...", "*.png");
    if (path.empty())
        return;
    std::vector<std::string> unreadable;
    const std::vector<std::string> tooLargeLines = importAt({path}, model_.placeX(), model_.placeY(), unreadable);
    if (!tooLargeLines.empty())
        host_.message("Wait!", tooLargeLines.front());
    else if (!unreadable.empty())
        host_.message("Wait!", "\"" + fileName(path) + "\" could not be read as a PNG picture.");
}

void CanvasCommands::drop(const std::vector<std::string>& dropped, std::int32_t x, std::int32_t y)
{
    DropPlan plan = planDrop(dropped);
    std::vector<std::string> lines;
    if (plan.folder) {
        if (clearFirst())
            importFolder(toolkit::withTrailingSlash(*plan.folder));
    } else {
        lines = importAt(plan.pictures, x, y, plan.skipped);
    }
    if (!plan.skipped.empty())
        lines.insert(lines.begin(), skippedDropNotice(plan.skipped));
    if (!lines.empty())
        host_.message("Wait!", joined(lines));
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
