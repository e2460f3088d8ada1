#pragma once
// The canvas gadget: paints the sprite list over the tiled background, and
// the overlay (used area, selected sprite, sheet size) on top. It repaints
// only what changed since the last paint, so dragging one sprite on a 4096
// canvas stays cheap; the pixels on screen are the same as a full repaint.
//
// The view may be zoomed (CanvasZoom.h): pictures are drawn scaled, pixel for
// pixel by nearest neighbour above 100 % so pixel art stays crisp, while the
// background tile, the overlay's lines and the sheet size text keep their
// screen size. Whatever it reports, mouse positions and drops, is in canvas
// pixels.

#include "canvas/CanvasModel.h"

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace th::canvas {

// Hands out a sprite's picture as a QImage over the image library's pixels
// (8-bit RGBA, straight alpha), without copying them.
using PictureSource = std::function<QImage(ImageHandle)>;

class CanvasView : public QWidget {
    Q_OBJECT
public:
    CanvasView(const CanvasModel& model, PictureSource pictures, const QPixmap& backgroundTile,
               QWidget* parent = nullptr);

    void setCanvasSize(int size);
    // View pixels per canvas pixel; the view's size follows.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    // The view pixels that cover a canvas rectangle.
    QRect viewRect(const QRect& canvasRect) const;
    // Call after every change of the model, with the picture of the sprite
    // the mouse holds, which is shown half transparent. The overlay is drawn
    // whenever a sprite is current; it marks that sprite and the used area.
    void refresh(std::optional<ImageHandle> held);

    // The overlay's colours.
    static constexpr QRgb kExtentColour = qRgb(255, 128, 0);
    static constexpr QRgb kVisibleBoxColour = qRgb(235, 235, 235);

signals:
    // Mouse events in canvas pixels; the wheel delta is in the desktop's
    // angle units, positive when turned away from the user.
    void leftPressed(QPoint at);
    void leftReleased(QPoint at);
    void pointerMoved(QPoint at);
    void rightPressed(QPoint at);
    // The left button with Ctrl held: a press, and a double-click.
    void pivotPressed(QPoint at);
    void pivotDoubleClicked(QPoint at);
    void wheelTurned(QPoint at, int delta);
    // The wheel turned with Ctrl held; `viewAt` is the pointer in view pixels.
    void zoomTurned(QPointF viewAt, int delta);
    // Files, folders or addresses dropped from the desktop (local paths as
    // the bytes of their names, anything else as its address), at a canvas
    // pixel. A drag that brings nothing the canvas takes (DropPlan.h) is
    // refused.
    void dropped(const std::vector<std::string>& items, QPoint at);
    // An arrow key while the view has the focus: dx and dy are -1, 0 or 1;
    // `large` when Shift is held.
    void arrowPressed(int dx, int dy, bool large);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What a sprite looked like when last painted.
    struct Painted {
        ImageHandle image;
        QRect box;
        qreal opacity;
        bool rotated;
        bool operator==(const Painted&) const = default;
    };

    QPoint canvasPoint(QPointF viewPoint) const;
    const QImage& premultiplied(ImageHandle image);
    QString sheetSizeText() const;
    QRect sheetSizeLabel() const;
    qreal opacity(const SpriteEntry& sprite) const;
    const QImage* enlargedHeld(const SpriteEntry& sprite);
    QRegion overlayRegion() const;
    // The square of view pixels the current sprite's pivot cross covers.
    QRect pivotCross(const SpriteEntry& sprite) const;
    void paintSprite(class QPainter& painter, const SpriteEntry& sprite);
    void paintOverlay(QPainter& painter);
    // The overlay's lines are as wide as a canvas pixel, and never thinner
    // than a screen pixel.
    int lineWidth() const;

    const CanvasModel& model_;
    PictureSource pictures_;
    std::optional<ImageHandle> held_;
    int canvasSize_ = 1024;
    double zoom_ = 1.0;
    // As of the last refresh.
    UsedArea usedArea_;
    QPixmap tile_;
    // Pictures converted once for fast drawing, by image number.
    QHash<ImageHandle, QImage> cache_;
    // The held sprite's picture, enlarged for the zoom, while one is held.
    struct Enlarged {
        ImageHandle image;
        bool rotated;
        double zoom;
        QImage picture;
    };
    std::optional<Enlarged> enlarged_;
    // In canvas pixels.
    std::vector<Painted> painted_;
    // In view pixels.
    QRegion paintedOverlay_;
};

} // namespace th::canvas
