#include "SpriteCanvas.h"

#include "BenchData.h"
#include "canvas/PictureFile.h"
#include "image/StandardCodecs.h"

namespace th::bench {

std::string SpriteFolderHost::chooseFolder(const std::string&, const std::string&)
{
    return spriteFolder();
}

SpriteCanvas::SpriteCanvas()
    : model([this](int image) { images.free(image); })
{
    image::registerStandardCodecs(images);
}

void SpriteCanvas::importSprites(canvas::CanvasDisplay& display)
{
    canvas::CanvasCommands commands(
        model, host, [this](const std::string& path) { return canvas::loadPictureFile(images, path); }, display);
    commands.openImageFolder();
    model.measureUsedArea();
}

} // namespace th::bench
