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
{
    image::registerStandardCodecs(images);
}

void SpriteCanvas::importSprites(canvas::CanvasDisplay& display)
{
    editor.perform(canvas::SetCanvasSize{.size = 4096});
    canvas::CanvasCommands commands(
        editor, host, [this](const std::string& path) { return pictures.load(path); }, display);
    commands.openImageFolder();
}

} // namespace th::bench
