#pragma once
// The main window's export command: it refuses an empty canvas, and keeps
// one export window at a time, in front of the main window while it is open.

#include "canvas/CanvasModel.h"

#include <QPointer>

#include <functional>
#include <string>

class QWidget;

namespace th::exporting {
class ExportWindow;
struct ExportRequest;
}
namespace th::image {
class ImageStore;
}
namespace th::toolkit {
class Host;
}

namespace th::app {

class ExportCommand {
public:
    struct Hooks {
        // An export completed with these choices and its window closed.
        std::function<void(const exporting::ExportRequest&)> exported;
        // The export window was made or closed.
        std::function<void(QWidget*)> opened;
        std::function<void()> closed;
    };

    ExportCommand(QWidget* mainWindow, const canvas::CanvasModel& model, toolkit::Host& host, Hooks hooks);

    // From now on run() opens the export window, which writes sheets from the
    // pictures in `images` with the templates of `dataFolder`.
    void enable(image::ImageStore& images, std::string dataFolder);

    // "No Images!" on an empty canvas; otherwise opens the export window, or
    // brings the open one to the front.
    void run();

    // The open export window, or null.
    exporting::ExportWindow* window() const;
    bool windowShown() const;
    void bringForward();

private:
    QWidget* mainWindow_;
    const canvas::CanvasModel& model_;
    toolkit::Host& host_;
    Hooks hooks_;
    image::ImageStore* images_ = nullptr;
    std::string dataFolder_;
    QPointer<exporting::ExportWindow> window_;
};

} // namespace th::app
