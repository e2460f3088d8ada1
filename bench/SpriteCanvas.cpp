#include "SpriteCanvas.h"

#include "BenchData.h"
#include "app/Pictures.h"

namespace th::bench {

std::string SpriteFolderHost::chooseFolder(const std::string&, const std::string&)
{
    return spriteFolder();
}

SpriteCanvas::SpriteCanvas()
    : model([this](int image) { images.free(image); })
{
    app::registerCodecs(images);
}

void SpriteCanvas::importSprites(canvas::CanvasDisplay& display)
{
    canvas::CanvasCommands commands(model, host, app::pictureAccess(images).load, display);
    commands.openImageFolder();
    model.measureUsedArea();
}

} // namespace th::bench
