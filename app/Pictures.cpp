#include "app/Pictures.h"

#include "canvas/PictureFile.h"
#include "image/ImageStore.h"
#include "image/QtPictures.h"


// Resources built into a static library must be registered by hand.
static void registerIconResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace th::app {

namespace {

struct ResourcePicture {
    int number;
    const char* resource;
};

// In loading order; the tile must come before the button that takes its number.
constexpr int kTileNumber = 0;
constexpr ResourcePicture kToolbar[] = {
    {0, ":/icons/open-folder.png"},    {1, ":/icons/import-image.png"},
    {2, ":/icons/delete-image.png"},   {3, ":/icons/script-editor.png"},
    {4, ":/icons/export-sheet.png"},   {5, ":/icons/open-folder-pressed.png"},
    {6, ":/icons/import-image-pressed.png"}, {7, ":/icons/delete-image-pressed.png"},
    {8, ":/icons/script-editor-pressed.png"}, {9, ":/icons/export-sheet-pressed.png"},
    {10, ":/icons/separator.png"},     {11, ":/icons/new-canvas.png"},
    {12, ":/icons/new-canvas-pressed.png"}, {13, ":/icons/snap-off.png"},
    {14, ":/icons/snap-on.png"},
};

constexpr const char* kApplicationIconSizes[] = {"16", "32", "48", "64", "128", "256"};

QPixmap pixmapOf(const image::ImageStore& store, int number)
{
    return QPixmap::fromImage(image::imageView(store, number));
}

} // namespace

ToolbarPictures loadToolbarPictures(image::ImageStore& store)
{
    registerIconResources();
    ToolbarPictures pictures;
    if (image::decodeResource(store, kTileNumber, ":/icons/background-tile.png"))
        pictures.backgroundTile = pixmapOf(store, kTileNumber);
    for (const ResourcePicture& entry : kToolbar) {
        if (image::decodeResource(store, entry.number, entry.resource))
            pictures.byNumber.insert(entry.number, pixmapOf(store, entry.number));
    }
    for (const char* size : kApplicationIconSizes) {
        const std::string resource = std::string(":/icons/app/tile-heron-") + size + ".png";
        if (const QImage picture = image::resourcePicture(store, resource.c_str()); !picture.isNull())
            pictures.applicationIcon.addPixmap(QPixmap::fromImage(picture));
    }
    return pictures;
}

PictureAccess pictureAccess(image::ImageStore& store)
{
    auto files = std::make_shared<canvas::PictureFiles>(store);
    return {
        [&store](canvas::ImageHandle image) { return image::imageView(store, image); },
        [files](const std::string& path) { return files->load(path); },
    };
}

} // namespace th::app
