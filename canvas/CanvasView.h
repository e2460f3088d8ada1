#pragma once
// The canvas gadget: paints the sprite list over the tiled background, and
// the overlay (used area, selected sprite, sheet size) on top. It repaints
// only what changed since the last paint, so dragging one sprite on a 4096
// canvas stays cheap; the pixels on screen are the same as a full repaint.

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
    void wheelTurned(QPoint at, int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // What a sprite looked like when last painted.
    struct Painted {
        ImageHandle image;
        QRect box;
        qreal opacity;
        bool rotated;
        bool operator==(const Painted&) const = default;
    };

    const QImage& premultiplied(ImageHandle image);
    QString sheetSizeText() const;
    QRect sheetSizeLabel() const;
    qreal opacity(const SpriteEntry& sprite) const;
    QRegion overlayRegion() const;
    void paintSprite(class QPainter& painter, const SpriteEntry& sprite);
    void paintOverlay(QPainter& painter);

    const CanvasModel& model_;
    PictureSource pictures_;
    std::optional<ImageHandle> held_;
    // As of the last refresh.
    UsedArea usedArea_;
    QPixmap tile_;
    // Pictures converted once for fast drawing, by image number.
    QHash<ImageHandle, QImage> cache_;
    std::vector<Painted> painted_;
    QRegion paintedOverlay_;
};

} // namespace th::canvas
