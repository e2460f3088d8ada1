#include "canvas/CanvasMouse.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"
#include "canvas/GridSnap.h"
#include "canvas/SpritePivot.h"

#include <algorithm>

namespace th::canvas {

CanvasMouse::CanvasMouse(CanvasEditor& editor, CanvasDisplay& display)
    : editor_(editor)
    , model_(editor.model())
    , display_(display)
{
}

void CanvasMouse::leftPressed(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive()) {
        editor_.finishMove();
        held_.reset();
        if (const std::optional<std::size_t> hit = pick(pointerX_, pointerY_)) {
            held_ = model_.sprites().entries()[*hit].image;
            editor_.startMove(*hit);
        }
        dragging_ = true;
        selectTopAndRedraw(model_, display_);
        display_.showName(nameLabel(model_));
        showPosition();
    }
    record(x, y);
}

void CanvasMouse::leftReleased(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive()) {
        dragging_ = false;
        held_.reset();
        editor_.finishMove();
        selectTopAndRedraw(model_, display_);
        showPosition();
    }
    record(x, y);
}

void CanvasMouse::pointerMoved(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive()) {
        if (dragging_ && picked_ && editor_.moving()) {
            const std::int32_t left = pointerX_ - dragOffsetX_;
            const std::int32_t top = pointerY_ - dragOffsetY_;
            editor_.moveTo(snapToGrid_ ? snappedToGrid(left) : left, snapToGrid_ ? snappedToGrid(top) : top);
            selectTopAndRedraw(model_, display_);
        }
        showPosition();
    }
    record(x, y);
}

void CanvasMouse::rightPressed(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive()) {
        if (const std::optional<std::size_t> hit = pick(pointerX_, pointerY_)) {
            // A turned sprite is shown whole, even the one the left button holds.
            if (held_ == model_.sprites().entries()[*hit].image)
                held_.reset();
            editor_.perform(TurnSprite{.position = *hit});
            // With the left button still down, the turned sprite is dragged on.
            if (dragging_)
                editor_.startMove(model_.sprites().size() - 1);
            selectTopAndRedraw(model_, display_);
            display_.showName(nameLabel(model_));
        } else {
            model_.selectFirst();
        }
        showPosition();
    }
    record(x, y);
}

void CanvasMouse::pivotPressed(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive()) {
        // The button is down, but nothing is held: moves until the release
        // drag nothing.
        editor_.finishMove();
        held_.reset();
        dragging_ = true;
        picked_ = false;
        setPivot(false);
    }
    record(x, y);
}

void CanvasMouse::pivotDoubleClicked(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive()) {
        dragging_ = true;
        picked_ = false;
        setPivot(true);
    }
    record(x, y);
}

void CanvasMouse::setPivot(bool centre)
{
    const std::optional<std::size_t> position = model_.sprites().currentPosition();
    if (!position)
        return;
    const SpriteEntry& sprite = model_.sprites().entries()[*position];
    const auto at = pivotAt(sprite, model_.clipMargin(), pointerX_, pointerY_);
    if (!at)
        return;
    const auto [x, y] = centre ? std::pair{kCentrePivot, kCentrePivot} : *at;
    // A click on the pivot where it already is changes nothing and is no step.
    if (x == sprite.pivotX && y == sprite.pivotY)
        return;
    editor_.perform(SetPivot{.position = *position, .x = x, .y = y, .undoesClick = centre});
    display_.redraw();
}

std::int32_t CanvasMouse::wheelTurned(std::int32_t x, std::int32_t y, std::int32_t delta,
                                      std::int32_t viewportHeight)
{
    if (model_.canvasActive())
        showPosition();
    record(x, y);
    // The record may have run past either end on the previous turn (the
    // scroll area clamps what it is given, not this record), so it is brought
    // back into range before the turn is applied.
    const std::int32_t bottom = model_.canvasSize() - viewportHeight;
    scrollTop_ = std::min(std::max(scrollTop_, 0), bottom);
    scrollTop_ -= delta;
    return scrollTop_;
}

std::optional<std::size_t> CanvasMouse::pick(std::int32_t x, std::int32_t y)
{
    const std::optional<std::size_t> hit = model_.sprites().topmostAt(x, y);
    picked_ = hit.has_value();
    if (hit) {
        const SpriteEntry& sprite = model_.sprites().entries()[*hit];
        dragOffsetX_ = x - sprite.x;
        dragOffsetY_ = y - sprite.y;
    }
    return hit;
}

void CanvasMouse::showPosition()
{
    display_.showPosition(positionReadout(model_));
}

void CanvasMouse::record(std::int32_t x, std::int32_t y)
{
    pointerX_ = x;
    pointerY_ = y;
}

} // namespace th::canvas
