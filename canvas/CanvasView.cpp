#include "canvas/CanvasView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QWheelEvent>

#include <algorithm>
#include <unordered_map>

namespace th::canvas {

namespace {

QRect fullBox(const SpriteEntry& sprite)
{
    return {sprite.x, sprite.y, sprite.width, sprite.height};
}

QRect visibleRect(const SpriteEntry& sprite, std::int32_t margin)
{
    const VisibleBox box = visibleBox(sprite, margin);
    return {int(box.left), int(box.top), int(box.width), int(box.height)};
}

constexpr qreal kHeldOpacity = 0.5;

// A one-pixel outline whose lines lie on the box's first and last columns
// and rows, as the image library draws outlined boxes.
void outline(QPainter& painter, const QRect& box, QRgb colour)
{
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const QColor c(colour);
    painter.fillRect(box.x(), box.y(), box.width(), 1, c);
    painter.fillRect(box.x(), box.y() + box.height() - 1, box.width(), 1, c);
    painter.fillRect(box.x(), box.y(), 1, box.height(), c);
    painter.fillRect(box.x() + box.width() - 1, box.y(), 1, box.height(), c);
}

QRegion outlineRegion(const QRect& box)
{
    if (box.width() <= 0 || box.height() <= 0)
        return {};
    QRegion region(box.x(), box.y(), box.width(), 1);
    region += QRect(box.x(), box.y() + box.height() - 1, box.width(), 1);
    region += QRect(box.x(), box.y(), 1, box.height());
    region += QRect(box.x() + box.width() - 1, box.y(), 1, box.height());
    return region;
}

} // namespace

CanvasView::CanvasView(const CanvasModel& model, PictureSource pictures, const QPixmap& backgroundTile,
                       QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , pictures_(std::move(pictures))
    , tile_(backgroundTile)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCanvasSize(1024);
}

void CanvasView::setCanvasSize(int size)
{
    setFixedSize(size, size);
    update();
}

const QImage& CanvasView::premultiplied(ImageHandle image)
{
    auto found = cache_.find(image);
    if (found == cache_.end())
        found = cache_.insert(image, pictures_(image).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return *found;
}

qreal CanvasView::opacity(const SpriteEntry& sprite) const
{
    return held_ == sprite.image ? kHeldOpacity : 1.0;
}

void CanvasView::refresh(std::optional<ImageHandle> held)
{
    held_ = held;
    usedArea_ = usedArea(model_);
    // Sprites whose place, look or stacking changed are repainted where they
    // were and where they are now; so are the old and the new overlay.
    std::unordered_map<ImageHandle, std::size_t> before;
    for (std::size_t i = 0; i < painted_.size(); ++i)
        before.emplace(painted_[i].image, i);

    QRegion dirty = paintedOverlay_;
    std::vector<Painted> now;
    now.reserve(model_.sprites().size());
    for (const SpriteEntry& sprite : model_.sprites().entries()) {
        const Painted painted{sprite.image, fullBox(sprite), opacity(sprite), sprite.rotated};
        const auto old = before.find(sprite.image);
        if (old == before.end()) {
            dirty += painted.box;
        } else {
            if (!(painted_[old->second] == painted) || old->second != now.size())
                dirty += painted_[old->second].box | painted.box;
            before.erase(old);
        }
        now.push_back(painted);
    }
    for (const auto& [image, position] : before) {
        dirty += painted_[position].box;
        cache_.remove(image);
    }
    painted_ = std::move(now);
    paintedOverlay_ = overlayRegion();
    dirty += paintedOverlay_;
    update(dirty);
}

QString CanvasView::sheetSizeText() const
{
    return QStringLiteral("%1x%2").arg(usedArea_.width).arg(usedArea_.height);
}

// The sheet size text sits inside the used area's bottom-right corner.
QRect CanvasView::sheetSizeLabel() const
{
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(sheetSizeText());
    return {usedArea_.width - width, usedArea_.height - metrics.height(), width, metrics.height()};
}

QRegion CanvasView::overlayRegion() const
{
    const SpriteEntry* current = model_.sprites().current();
    if (!current)
        return {};
    QRegion region = outlineRegion({-1, -1, usedArea_.width + 1, usedArea_.height + 1});
    region += outlineRegion(visibleRect(*current, model_.clipMargin()));
    region += outlineRegion(fullBox(*current));
    region += sheetSizeLabel();
    return region;
}

void CanvasView::paintSprite(QPainter& painter, const SpriteEntry& sprite)
{
    const QImage& picture = premultiplied(sprite.image);
    painter.setOpacity(opacity(sprite));
    if (!sprite.rotated) {
        painter.drawImage(QPoint(sprite.x, sprite.y), picture);
    } else {
        // Turned a quarter counter-clockwise: picture pixel (u, v) lands on
        // column x + v, row y + width - 1 - u.
        painter.save();
        painter.translate(sprite.x, sprite.y + picture.width());
        painter.rotate(-90);
        painter.drawImage(QPoint(0, 0), picture);
        painter.restore();
    }
    painter.setOpacity(1.0);
}

void CanvasView::paintOverlay(QPainter& painter)
{
    const SpriteEntry* current = model_.sprites().current();
    if (!current)
        return;
    outline(painter, {-1, -1, usedArea_.width + 1, usedArea_.height + 1}, kExtentColour);
    outline(painter, visibleRect(*current, model_.clipMargin()), kVisibleBoxColour);
    outline(painter, fullBox(*current), kExtentColour);

    const QRect label = sheetSizeLabel();
    painter.fillRect(label, QColor(kExtentColour));
    painter.setPen(Qt::black);
    painter.drawText(label, Qt::AlignLeft | Qt::AlignTop, sheetSizeText());
}

void CanvasView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.setClipRegion(event->region());
    painter.fillRect(exposed, QBrush(tile_));
    for (const SpriteEntry& sprite : model_.sprites().entries()) {
        if (fullBox(sprite).intersects(exposed))
            paintSprite(painter, sprite);
    }
    paintOverlay(painter);
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit leftPressed(event->position().toPoint());
    else if (event->button() == Qt::RightButton)
        emit rightPressed(event->position().toPoint());
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit leftReleased(event->position().toPoint());
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->position().toPoint());
}

void CanvasView::wheelEvent(QWheelEvent* event)
{
    emit wheelTurned(event->position().toPoint(), event->angleDelta().y());
    event->accept();
}

} // namespace th::canvas
