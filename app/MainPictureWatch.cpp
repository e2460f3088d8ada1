#include "app/MainWindow.h"

#include "canvas/CanvasReadouts.h"

namespace th::app {

// Every change of the canvas, undo and redo included, ends in a menu update,
// so the watch follows the model's revision from there.
void MainWindow::followPictureFiles()
{
    if (model_.revision() == followedRevision_)
        return;
    followedRevision_ = model_.revision();
    if (noticeRevision_ && *noticeRevision_ != model_.revision()) {
        showName(canvas::nameLabel(model_));
        noticeRevision_.reset();
    }
    pictureWatch_.follow(canvas::pictureFilesOf(model_));
}

// Not in the middle of a drag, whose one step a change would end early: the
// reload tries again a quiet period later.
void MainWindow::pictureFilesChanged(const std::vector<std::string>& paths)
{
    if (mouse_->dragging()) {
        QTimer::singleShot(pictureWatch_.quiet(), this, [this, paths] { pictureFilesChanged(paths); });
        return;
    }
    const std::string notice = pictureReload_->reload(paths);
    redraw();
    if (!notice.empty()) {
        showName(notice);
        noticeRevision_ = model_.revision();
    }
    updateMenuState();
}

} // namespace th::app
