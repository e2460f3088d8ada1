#include "canvas/PictureReload.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace th::canvas {

namespace {

// The sprite made from `path`, for its name and its unturned size.
const SpriteEntry* spriteFrom(const CanvasModel& model, const std::string& path)
{
    for (const SpriteEntry& sprite : model.sprites().entries())
        if (sprite.sourcePath == path)
            return &sprite;
    return nullptr;
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

} // namespace

std::vector<std::string> pictureFilesOf(const CanvasModel& model)
{
    std::vector<std::string> paths;
    for (const SpriteEntry& sprite : model.sprites().entries())
        if (!sprite.sourcePath.empty())
            paths.push_back(sprite.sourcePath);
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

PictureReload::PictureReload(CanvasEditor& editor, PictureLoader load)
    : editor_(editor)
    , load_(std::move(load))
{
}

std::string PictureReload::reload(const std::vector<std::string>& changed)
{
    std::vector<std::string> paths = changed;
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());

    ReloadPictures edit;
    std::vector<std::string> resized;
    std::vector<std::string> problems;
    for (const std::string& path : paths) {
        const SpriteEntry* sprite = spriteFrom(editor_.model(), path);
        if (!sprite)
            continue;
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            if (goneNamed_.insert(path).second)
                problems.push_back(sprite->name + " is gone from disk; its sprite stays as it was");
            continue;
        }
        goneNamed_.erase(path);
        PictureLoad load = load_(path);
        if (!load.picture) {
            problems.push_back(sprite->name + " could not be read again; its sprite stays as it was");
            continue;
        }
        LoadedPicture& picture = *load.picture;
        const std::int32_t oldWidth = sprite->rotated ? sprite->height : sprite->width;
        const std::int32_t oldHeight = sprite->rotated ? sprite->width : sprite->height;
        if (picture.width != oldWidth || picture.height != oldHeight)
            resized.push_back(sprite->name + " is now " + std::to_string(picture.width) + "x" +
                              std::to_string(picture.height));
        edit.pictures.push_back({path, picture.image, picture.width, picture.height, std::move(picture.picture)});
    }

    std::vector<std::string> notice;
    if (!edit.pictures.empty()) {
        if (resized.empty())
            notice.push_back(edit.pictures.size() == 1
                                 ? "Reloaded " + spriteFrom(editor_.model(), edit.pictures.front().path)->name
                                 : "Reloaded " + std::to_string(edit.pictures.size()) + " pictures");
        else
            notice.push_back("Reloaded: " + joined(resized));
        editor_.perform(std::move(edit));
    }
    notice.insert(notice.end(), problems.begin(), problems.end());
    return joined(notice);
}

} // namespace th::canvas
