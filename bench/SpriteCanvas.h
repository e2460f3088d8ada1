#pragma once
// The shared 400 sprites laid out by the real folder import on a 4096 canvas.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasEdit.h"
#include "canvas/PictureFile.h"
#include "image/ImageStore.h"
#include "toolkit/Host.h"

namespace th::bench {

// Answers the folder chooser with the shared sprites and stays silent
// otherwise.
class SpriteFolderHost final : public toolkit::Host {
public:
    void message(const std::string&, const std::string&) override {}
    bool ask(const std::string&, const std::string&) override { return true; }
    std::string savePanel(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string openPanel(const std::string&, const std::string&) override { return {}; }
    std::string chooseFolder(const std::string&, const std::string&) override;
    void setClipboardText(const std::string&) override {}
    void showFile(const std::string&) override {}
    std::string homeFolder() override { return "/tmp/"; }
    int hostVersion() override { return 60000; }
};

struct SpriteCanvas {
    SpriteCanvas();
    // Runs "Open Image Folder" on the sprites on a 4096 canvas; `display`
    // sees the import as a window would.
    void importSprites(canvas::CanvasDisplay& display);

    image::ImageStore images;
    canvas::PictureFiles pictures{images};
    SpriteFolderHost host;
    canvas::CanvasModel model;
    canvas::CanvasEditor editor{model};
};

// A display that shows nothing.
class HiddenDisplay final : public canvas::CanvasDisplay {
public:
    void redraw() override {}
    void showName(const std::string&) override {}
    void showPosition(const std::string&) override {}
};

} // namespace th::bench
