#include "canvas/CanvasCommands.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"
#include "canvas/DropPlan.h"
#include "canvas/ImportReport.h"
#include "canvas/NaturalOrder.h"
#include "files/FolderListing.h"
#include "toolkit/Host.h"
#include "toolkit/Progress.h"

namespace th::canvas {

namespace {

constexpr const char* kClearTitle = "Clear the Canvas?";
constexpr const char* kNoImagesTitle = "No Images!";

std::string tooLargeNotice(const std::string& name, const PictureLoad& load)
{
    const std::string budget = std::to_string(image::kDecodeBudgetSide);
    return "\"" + name + "\" declares " + std::to_string(load.declaredWidth) + " × "
           + std::to_string(load.declaredHeight) + " pixels; pictures of more than " + budget + " × " + budget
           + " pixels are not read.";
}

bool tooLarge(const PictureLoad& load) { return load.problem == image::DecodeStatus::TooLarge; }

std::string fileName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

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
    auto names = files::listFolder(folder, "*.png");
    if (!names)
        return;
    if (naturalOrder_)
        sortNaturally(*names);
    ImportReport report;
    // Names that differ only in case are passed over by the rule, but said.
    for (const std::string& name : files::listFolder(folder, "*.[pP][nN][gG]").value_or(std::vector<std::string>{}))
        if (!name.ends_with(".png"))
            report.wrongCase.push_back(name);
    if (names->empty()) {
        const std::string more = report.notice();
        host_.message(kNoImagesTitle, "There are no PNG pictures in this folder." + (more.empty() ? "" : "\n" + more));
        return;
    }

    // The whole folder is one change.
    AddSprites added{.placeX = model_.placeX(), .placeY = model_.placeY()};
    std::optional<std::int32_t> previousHeight;
    if (const SpriteEntry* current = model_.sprites().current())
        previousHeight = current->height;
    std::int32_t lastWidth = 0;
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
            if (!take(folder + name, added.placeX, added.placeY, added, report))
                continue;
            lastWidth = added.sprites.back().width;
            previousHeight = added.sprites.back().height;
            added.placeX += lastWidth;
        }
    }
    editor_.perform(std::move(added));
    display_.showName(nameLabel(model_));
    selectTopAndRedraw(model_, display_);
    report.outside = countOutside(model_.sprites().entries(), model_.canvasSize());
    if (const std::string notice = report.notice(); !notice.empty())
        host_.message("Wait!", notice);
}

bool CanvasCommands::take(const std::string& path, std::int32_t x, std::int32_t y, AddSprites& added,
                          ImportReport& report)
{
    const std::string name = fileName(path);
    PictureLoad load = load_(path);
    if (!load.picture) {
        if (tooLarge(load))
            report.tooLarge.push_back(tooLargeNotice(name, load));
        else
            report.unreadable.push_back(name);
        return false;
    }
    if (!load.complete)
        report.incomplete.push_back(name);
    added.sprites.push_back(spriteOf(*load.picture, path, name, x, y));
    return true;
}

ImportReport CanvasCommands::importAt(const std::vector<std::string>& paths, std::int32_t x, std::int32_t y)
{
    ImportReport report;
    // The import place stays where it was, as after a single import.
    AddSprites added{.placeX = model_.placeX(), .placeY = model_.placeY()};
    {
        const toolkit::ProgressScope work(progress_);
        const int total = int(paths.size());
        for (int done = 0; done < total; ++done) {
            if (!toolkit::report(progress_, toolkit::WorkStage::Decoding, done + 1, total))
                break;
            take(paths[std::size_t(done)], x, y, added, report);
        }
    }
    if (added.sprites.empty())
        return report;
    editor_.perform(std::move(added));
    display_.showName(nameLabel(model_));
    display_.showPosition(positionReadout(model_));
    selectTopAndRedraw(model_, display_);
    report.outside = countOutside(model_.sprites().entries(), model_.canvasSize());
    return report;
}

void CanvasCommands::importImage()
{
    const std::string path = host_.openPanel("Select Image...", "*.png");
    if (path.empty())
        return;
    const ImportReport report = importAt({path}, model_.placeX(), model_.placeY());
    if (!report.unreadable.empty())
        host_.message("Wait!", "\"" + fileName(path) + "\" could not be read as a PNG picture.");
    else if (const std::string notice = report.notice(); !notice.empty())
        host_.message("Wait!", notice);
}

void CanvasCommands::drop(const std::vector<std::string>& dropped, std::int32_t x, std::int32_t y)
{
    DropPlan plan = planDrop(dropped);
    if (plan.folder) {
        if (clearFirst())
            importFolder(toolkit::withTrailingSlash(*plan.folder));
    }
    std::string pictures;
    if (!plan.folder) {
        // Dropped files that are no picture are named with everything else
        // the drop passed over.
        if (naturalOrder_)
            sortNaturally(plan.pictures);
        ImportReport report = importAt(plan.pictures, x, y);
        plan.skipped.insert(plan.skipped.end(), report.unreadable.begin(), report.unreadable.end());
        report.unreadable.clear();
        pictures = report.notice();
    }
    const std::string others = plan.skipped.empty() ? std::string() : skippedDropNotice(plan.skipped);
    const std::string notice = others + (others.empty() || pictures.empty() ? "" : "\n") + pictures;
    if (!notice.empty())
        host_.message("Wait!", notice);
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
    // The labels show the sprite now current, the one the next Delete
    // would remove, so the user is never shown one sprite and deletes another.
    if (!model_.sprites().empty())
        selectTopAndRedraw(model_, display_);
    else
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
