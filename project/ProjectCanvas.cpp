#include "project/ProjectCanvas.h"

#include <algorithm>

namespace th::project {

namespace {

// A sprite may stand partly or wholly outside a canvas made smaller after it
// was placed, but never where no canvas could show any of it.
constexpr std::int64_t kLargestCanvas = 4096;

std::string whyUnreadable(const std::string& file, const canvas::PictureLoad& load)
{
    if (load.unread.cause == files::FileError::FileMissing)
        return "not found";
    if (load.unread.cause == files::FileError::IsAFolder)
        return "a folder, not a picture";
    if (!load.unread.ok())
        return files::describe(load.unread, file);
    if (load.problem == image::DecodeStatus::TooLarge)
        return "declares " + std::to_string(load.declaredWidth) + " × " + std::to_string(load.declaredHeight)
               + " pixels, more than a picture may have";
    return "not a readable PNG picture";
}

// The kept indices renumbered 1 to M in their own order.
void closeGaps(std::vector<canvas::SpriteEntry>& sprites)
{
    std::vector<std::int32_t> kept;
    for (const canvas::SpriteEntry& sprite : sprites)
        kept.push_back(sprite.index);
    std::sort(kept.begin(), kept.end());
    for (canvas::SpriteEntry& sprite : sprites)
        sprite.index = std::int32_t(std::lower_bound(kept.begin(), kept.end(), sprite.index) - kept.begin()) + 1;
}

} // namespace

Project projectOf(const canvas::CanvasModel& model, bool snapToGrid)
{
    Project project;
    project.canvasSize = model.canvasSize();
    project.snapToGrid = snapToGrid;
    project.clipMargin = model.clipMargin();
    project.placeX = model.placeX();
    project.placeY = model.placeY();
    for (const canvas::SpriteEntry& sprite : model.sprites().entries())
        project.sprites.push_back({sprite.sourcePath, sprite.x, sprite.y, sprite.rotated, sprite.index, sprite.name,
                                   sprite.pivotX, sprite.pivotY});
    return project;
}

ProjectPictures loadPictures(const Project& project, const canvas::PictureLoader& load)
{
    ProjectPictures result;
    for (const ProjectSprite& sprite : project.sprites) {
        canvas::PictureLoad loaded = load(sprite.file);
        if (!loaded.picture)
            result.unreadable.push_back(sprite.name + ": " + whyUnreadable(sprite.file, loaded));
        result.pictures.push_back(std::move(loaded.picture));
    }
    return result;
}

std::vector<std::string> outsideEveryCanvas(const Project& project, const ProjectPictures& pictures)
{
    std::vector<std::string> outside;
    const auto check = [&outside](const ProjectSprite& sprite, const char* axis, std::int64_t at, std::int64_t side) {
        if (at + side > 0 && at < kLargestCanvas)
            return;
        outside.push_back(sprite.name + ": " + axis + " " + std::to_string(at) + " puts it outside every canvas; " +
                          axis + " must be from " + std::to_string(1 - side) + " to " +
                          std::to_string(kLargestCanvas - 1));
    };
    for (std::size_t i = 0; i < project.sprites.size(); ++i) {
        const std::optional<canvas::LoadedPicture>& picture = pictures.pictures[i];
        if (!picture)
            continue;
        const ProjectSprite& sprite = project.sprites[i];
        check(sprite, "x", sprite.x, sprite.rotated ? picture->height : picture->width);
        check(sprite, "y", sprite.y, sprite.rotated ? picture->width : picture->height);
    }
    return outside;
}

void arrange(canvas::CanvasEditor& editor, const Project& project, ProjectPictures pictures)
{
    const canvas::CanvasModel& model = editor.model();
    if (!model.sprites().empty() || model.canvasActive())
        editor.perform(canvas::ClearCanvas{});
    if (model.canvasSize() != project.canvasSize)
        editor.perform(canvas::SetCanvasSize{.size = project.canvasSize});

    canvas::AddSprites added{.placeX = project.placeX, .placeY = project.placeY, .keepIndices = true};
    for (std::size_t i = 0; i < project.sprites.size(); ++i) {
        std::optional<canvas::LoadedPicture>& picture = pictures.pictures[i];
        if (!picture)
            continue;
        const ProjectSprite& sprite = project.sprites[i];
        // A turned sprite's box is its picture's, exchanged.
        const auto [width, height] = sprite.rotated ? std::pair(picture->height, picture->width)
                                                    : std::pair(picture->width, picture->height);
        added.sprites.push_back({.image = picture->image, .x = sprite.x, .y = sprite.y, .width = width,
                                 .height = height, .rotated = sprite.rotated, .name = sprite.name,
                                 .index = sprite.index, .sourcePath = sprite.file,
                                 .picture = std::move(picture->picture), .pivotX = sprite.pivotX,
                                 .pivotY = sprite.pivotY});
    }
    if (added.sprites.empty())
        return;
    closeGaps(added.sprites);
    editor.perform(std::move(added));
    if (model.clipMargin() != project.clipMargin)
        editor.perform(canvas::SetClip{.margin = project.clipMargin});
}

} // namespace th::project
