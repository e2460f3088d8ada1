#include "canvas/CanvasView.h"

#include "canvas/CanvasZoom.h"
#include "canvas/DropPlan.h"
#include "toolkit/QtText.h"

#include <QMimeData>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
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

// The pivot cross keeps its size in view pixels at every zoom: arms of this
// many pixels either side of the centre, a light line over a dark outline.
constexpr int kPivotArm = 5;
constexpr int kPivotOutline = 1;
constexpr QRgb kPivotLine = qRgb(255, 255, 255);
constexpr QRgb kPivotShadow = qRgb(0, 0, 0);

// The cross's two bars, `thick` view pixels across, in the square `cross`.
QList<QRect> crossBars(const QRect& cross, int thick)
{
    const QPoint centre = cross.center();
    const int half = thick / 2;
    return {QRect(cross.x(), centre.y() - half, cross.width(), thick),
            QRect(centre.x() - half, cross.y(), thick, cross.height())};
}

// An outline whose lines, `line` view pixels wide, lie on the box's first
// and last columns and rows, as the image library draws outlined boxes.
QList<QRect> outlineLines(const QRect& box, int line)
{
    if (box.width() <= 0 || box.height() <= 0)
        return {};
    return {QRect(box.x(), box.y(), box.width(), line), QRect(box.x(), box.y() + box.height() - line, box.width(), line),
            QRect(box.x(), box.y(), line, box.height()), QRect(box.x() + box.width() - line, box.y(), line, box.height())};
}

void outline(QPainter& painter, const QRect& box, int line, QRgb colour)
{
    for (const QRect& side : outlineLines(box, line))
        painter.fillRect(side, QColor(colour));
}

QRegion outlineRegion(const QRect& box, int line)
{
    QRegion region;
    for (const QRect& side : outlineLines(box, line))
        region += side;
    return region;
}

// View coordinates stay well inside int, however far a sprite was dragged.
int clampedView(std::int64_t v)
{
    constexpr std::int64_t kLimit = 1 << 26;
    return int(std::clamp(v, -kLimit, kLimit));
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
    setAcceptDrops(true);
    // A click on the canvas gives it the arrow keys.
    setFocusPolicy(Qt::ClickFocus);
    setCanvasSize(1024);
}

void CanvasView::setCanvasSize(int size)
{
    canvasSize_ = size;
    const QRect whole = viewRect({0, 0, size, size});
    setFixedSize(whole.width(), whole.height());
    update();
}

void CanvasView::setZoom(double zoom)
{
    zoom_ = zoom;
    setCanvasSize(canvasSize_);
    paintedOverlay_ = overlayRegion();
}

QRect CanvasView::viewRect(const QRect& canvasRect) const
{
    // Edges round outwards, so every view pixel a canvas pixel touches is in.
    const std::int64_t left = viewEdge(canvasRect.x(), zoom_);
    const std::int64_t top = viewEdge(canvasRect.y(), zoom_);
    const std::int64_t right = -viewEdge(-(std::int64_t(canvasRect.x()) + canvasRect.width()), zoom_);
    const std::int64_t bottom = -viewEdge(-(std::int64_t(canvasRect.y()) + canvasRect.height()), zoom_);
    return QRect(QPoint(clampedView(left), clampedView(top)), QPoint(clampedView(right) - 1, clampedView(bottom) - 1));
}

QPoint CanvasView::canvasPoint(QPointF viewPoint) const
{
    return {canvasCoordinate(viewPoint.x(), zoom_), canvasCoordinate(viewPoint.y(), zoom_)};
}

int CanvasView::lineWidth() const
{
    return std::max(1, int(zoom_));
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
    if (!held_)
        enlarged_.reset();
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
            dirty += viewRect(painted.box);
        } else {
            if (!(painted_[old->second] == painted) || old->second != now.size())
                dirty += viewRect(painted_[old->second].box | painted.box);
            before.erase(old);
        }
        now.push_back(painted);
    }
    for (const auto& [image, position] : before) {
        dirty += viewRect(painted_[position].box);
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
    const QRect used = viewRect({0, 0, usedArea_.width, usedArea_.height});
    return {used.x() + used.width() - width, used.y() + used.height() - metrics.height(), width, metrics.height()};
}

QRegion CanvasView::overlayRegion() const
{
    const SpriteEntry* current = model_.sprites().current();
    if (!current)
        return {};
    QRegion region = outlineRegion(viewRect({-1, -1, usedArea_.width + 1, usedArea_.height + 1}), lineWidth());
    region += outlineRegion(viewRect(visibleRect(*current, model_.clipMargin())), lineWidth());
    region += outlineRegion(viewRect(fullBox(*current)), lineWidth());
    region += sheetSizeLabel();
    region += pivotCross(*current);
    return region;
}

QRect CanvasView::pivotCross(const SpriteEntry& sprite) const
{
    const VisibleBox box = visibleBox(sprite, model_.clipMargin());
    const std::int64_t x = std::llround((double(box.left) + sprite.pivotX * double(box.width)) * zoom_);
    const std::int64_t y = std::llround((double(box.top) + sprite.pivotY * double(box.height)) * zoom_);
    const int reach = kPivotArm + kPivotOutline;
    return {clampedView(x) - reach, clampedView(y) - reach, 2 * reach + 1, 2 * reach + 1};
}

// Qt blends a picture drawn at its own size with vector code, but one it
// must enlarge pixel by pixel, several times slower. The held sprite is
// painted on every drag step, so at a whole-number zoom above 100 % it is
// enlarged (and turned) once, by nearest neighbour as the painter would,
// and drawn at its own size in view pixels.
const QImage* CanvasView::enlargedHeld(const SpriteEntry& sprite)
{
    if (held_ != sprite.image || zoom_ <= 1.0 || zoom_ != std::floor(zoom_))
        return nullptr;
    if (!enlarged_ || enlarged_->image != sprite.image || enlarged_->rotated != sprite.rotated
        || enlarged_->zoom != zoom_) {
        QImage picture = premultiplied(sprite.image);
        if (sprite.rotated)
            picture = picture.transformed(QTransform().rotate(-90));
        const int factor = int(zoom_);
        enlarged_ = Enlarged{sprite.image, sprite.rotated, zoom_,
                             picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation)};
    }
    return &enlarged_->picture;
}

void CanvasView::paintSprite(QPainter& painter, const SpriteEntry& sprite)
{
    const QImage& picture = premultiplied(sprite.image);
    painter.setOpacity(opacity(sprite));
    if (const QImage* enlarged = enlargedHeld(sprite)) {
        painter.save();
        painter.resetTransform();
        painter.drawImage(viewRect(fullBox(sprite)).topLeft(), *enlarged);
        painter.restore();
    } else if (!sprite.rotated) {
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
    outline(painter, viewRect({-1, -1, usedArea_.width + 1, usedArea_.height + 1}), lineWidth(), kExtentColour);
    outline(painter, viewRect(visibleRect(*current, model_.clipMargin())), lineWidth(), kVisibleBoxColour);
    outline(painter, viewRect(fullBox(*current)), lineWidth(), kExtentColour);

    const QRect label = sheetSizeLabel();
    painter.fillRect(label, QColor(kExtentColour));
    painter.setPen(Qt::black);
    painter.drawText(label, Qt::AlignLeft | Qt::AlignTop, sheetSizeText());

    // Last, so that nothing of the overlay hides it.
    const QRect cross = pivotCross(*current);
    for (const QRect& bar : crossBars(cross, 1 + 2 * kPivotOutline))
        painter.fillRect(bar, QColor(kPivotShadow));
    const QRect inner = cross.adjusted(kPivotOutline, kPivotOutline, -kPivotOutline, -kPivotOutline);
    for (const QRect& bar : crossBars(inner, 1))
        painter.fillRect(bar, QColor(kPivotLine));
}

void CanvasView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.setClipRegion(event->region());
    painter.fillRect(exposed, QBrush(tile_));

    painter.save();
    painter.scale(zoom_, zoom_);
    // Shrunk pictures are smoothed; enlarged ones keep their pixels square.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1.0);
    const QRect seen = QRectF(exposed.x() / zoom_, exposed.y() / zoom_, exposed.width() / zoom_,
                              exposed.height() / zoom_).toAlignedRect();
    for (const SpriteEntry& sprite : model_.sprites().entries()) {
        if (fullBox(sprite).intersects(seen))
            paintSprite(painter, sprite);
    }
    painter.restore();
    paintOverlay(painter);
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    // Ctrl, not Alt: many window managers take Alt and a click for
    // themselves.
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier))
        emit pivotPressed(canvasPoint(event->position()));
    else if (event->button() == Qt::LeftButton)
        emit leftPressed(canvasPoint(event->position()));
    else if (event->button() == Qt::RightButton)
        emit rightPressed(canvasPoint(event->position()));
}

// Without Ctrl, a double-click's second press is one more press.
void CanvasView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier))
        emit pivotDoubleClicked(canvasPoint(event->position()));
    else
        QWidget::mouseDoubleClickEvent(event);
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit leftReleased(canvasPoint(event->position()));
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(canvasPoint(event->position()));
}

void CanvasView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier)
        emit zoomTurned(event->position(), event->angleDelta().y());
    else
        emit wheelTurned(canvasPoint(event->position()), event->angleDelta().y());
    event->accept();
}

// The arrows nudge the current sprite instead of scrolling the view.
void CanvasView::keyPressEvent(QKeyEvent* event)
{
    const bool large = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left: emit arrowPressed(-1, 0, large); break;
    case Qt::Key_Right: emit arrowPressed(1, 0, large); break;
    case Qt::Key_Up: emit arrowPressed(0, -1, large); break;
    case Qt::Key_Down: emit arrowPressed(0, 1, large); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

namespace {

std::vector<std::string> droppedItems(const QMimeData* data)
{
    std::vector<std::string> items;
    for (const QUrl& url : data->urls())
        items.push_back(url.isLocalFile() ? toolkit::localFileBytes(url) : toolkit::utf8Text(url.toString()));
    return items;
}

bool takesAny(const QMimeData* data)
{
    return planDrop(droppedItems(data)).takesAny();
}

} // namespace

void CanvasView::dragEnterEvent(QDragEnterEvent* event)
{
    if (takesAny(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CanvasView::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
}

void CanvasView::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    emit dropped(droppedItems(event->mimeData()), canvasPoint(event->position()));
}

} // namespace th::canvas
