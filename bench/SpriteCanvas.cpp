#include "SpriteCanvas.h"

#include "BenchData.h"
#include "app/Pictures.h"

namespace th::bench {

std::string SpriteFolderHost::chooseFolder(const std::string&, const std::string&)
{
    return spriteFolder();
}

SpriteCanvas::SpriteCanvas()
{
    app::registerCodecs(images);
}

void SpriteCanvas::importSprites(canvas::CanvasDisplay& display)
{
    editor.perform(canvas::SetCanvasSize{.size = 4096});
    canvas::CanvasCommands commands(editor, host, app::pictureAccess(images).load, display);
    commands.openImageFolder();
}

} // namespace th::bench
