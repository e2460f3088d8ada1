#include "app/ExportCommand.h"

#include "export/ExportWindow.h"
#include "toolkit/Host.h"

#include <QWindow>

namespace th::app {

ExportCommand::ExportCommand(QWidget* mainWindow, const canvas::CanvasModel& model, toolkit::Host& host,
                             Hooks hooks)
    : mainWindow_(mainWindow)
    , model_(model)
    , host_(host)
    , hooks_(std::move(hooks))
{
}

void ExportCommand::enable(image::ImageStore& images, std::string dataFolder)
{
    images_ = &images;
    dataFolder_ = std::move(dataFolder);
}

void ExportCommand::run()
{
    if (model_.sprites().empty()) {
        host_.message("No Images!", "There are no images to build a sprite sheet.");
        return;
    }
    if (!images_)
        return;
    if (!window_) {
        window_ = new exporting::ExportWindow({model_, *images_, host_, dataFolder_}, mainWindow_);
        QObject::connect(window_, &exporting::ExportWindow::exported, mainWindow_,
                         [this](const exporting::ExportRequest& request) { hooks_.exported(request); });
        QObject::connect(window_, &QDialog::finished, mainWindow_, [this] { hooks_.closed(); });
        hooks_.opened(window_);
    }
    window_->show();
    bringForward();
}

exporting::ExportWindow* ExportCommand::window() const
{
    return window_;
}

bool ExportCommand::windowShown() const
{
    return window_ && window_->isVisible();
}

// Qt counts a dialog as active while its main window is, so activateWindow()
// would do nothing here; the window is asked for the focus directly.
void ExportCommand::bringForward()
{
    if (!window_)
        return;
    window_->raise();
    if (QWindow* handle = window_->windowHandle())
        handle->requestActivate();
}

} // namespace th::app
