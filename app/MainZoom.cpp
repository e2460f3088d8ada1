// The main window's zoom: the View menu's steps and Fit, and Ctrl+wheel
// around the pointer. Zoom is the view's state; the model never sees it.

#include "app/MainWindow.h"

#include "canvas/CanvasZoom.h"

#include <QScrollArea>
#include <QScrollBar>

#include <cmath>

namespace th::app {

QPoint MainWindow::viewportCentre() const
{
    return scrollArea_->viewport()->rect().center();
}

void MainWindow::zoomTo(double zoom, QPoint anchor)
{
    fitting_ = false;
    QScrollBar* across = scrollArea_->horizontalScrollBar();
    QScrollBar* down = scrollArea_->verticalScrollBar();
    // The canvas point under the anchor, in canvas pixels (not rounded).
    const double was = view_->zoom();
    const double x = (anchor.x() + across->value() - view_->x()) / was;
    const double y = (anchor.y() + down->value() - view_->y()) / was;
    view_->setZoom(zoom);
    placeCanvas();
    across->setValue(int(std::lround(view_->x() + x * zoom - anchor.x())));
    down->setValue(int(std::lround(view_->y() + y * zoom - anchor.y())));
    redraw();
}

void MainWindow::zoomToFit()
{
    fitting_ = true;
    placeCanvas();
    redraw();
}

void MainWindow::zoomTurned(QPointF viewAt, int delta)
{
    if (delta == 0)
        return;
    const QPoint anchor = view_->mapTo(scrollArea_->viewport(), viewAt.toPoint());
    zoomTo(delta > 0 ? canvas::zoomedIn(view_->zoom()) : canvas::zoomedOut(view_->zoom()), anchor);
}

} // namespace th::app
