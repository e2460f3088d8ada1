#include "canvas/CanvasMouse.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"

#include <algorithm>
#include <utility>

namespace th::canvas {

namespace {

constexpr std::int32_t kGrid = 8;
constexpr float kHeldOpacity = 0.5f;

// The grid step at or below v (toward zero, as C++ division truncates), plus
// one step: a position already on the grid moves one step further, and
// -3 lands on 8 while -13 lands on 0.
std::int32_t snapped(std::int32_t v)
{
    return v - v % kGrid + kGrid;
}

} // namespace

CanvasMouse::CanvasMouse(CanvasModel& model, CanvasDisplay& display)
    : model_(model)
    , display_(display)
{
}

void CanvasMouse::leftPressed(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive) {
        pick(pointerX_, pointerY_);
        dragging_ = true;
        redrawWithOverlay(model_, display_);
        display_.showName(nameLabel(model_));
        showPosition();
    }
    record(x, y);
}

void CanvasMouse::leftReleased(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive) {
        dragging_ = false;
        if (SpriteEntry* held = model_.sprites.current())
            held->opacity = 1.0f;
        redrawWithOverlay(model_, display_);
        showPosition();
    }
    record(x, y);
}

void CanvasMouse::pointerMoved(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive) {
        // The picked sprite went to the end of the list, and nothing reorders
        // the list while the button is held.
        SpriteEntry* held = model_.sprites.last();
        if (dragging_ && picked_ && held) {
            const std::int32_t left = pointerX_ - dragOffsetX_;
            const std::int32_t top = pointerY_ - dragOffsetY_;
            held->x = snapToGrid_ ? snapped(left) : left;
            held->y = snapToGrid_ ? snapped(top) : top;
            redrawWithOverlay(model_, display_);
        }
        showPosition();
    }
    record(x, y);
}

void CanvasMouse::rightPressed(std::int32_t x, std::int32_t y)
{
    if (model_.canvasActive) {
        if (SpriteEntry* turned = pick(pointerX_, pointerY_)) {
            // The turn keeps the top-left corner where it is.
            turned->opacity = 1.0f;
            turned->rotated = !turned->rotated;
            std::swap(turned->width, turned->height);
            redrawWithOverlay(model_, display_);
            display_.showName(nameLabel(model_));
        }
        showPosition();
    }
    record(x, y);
}

std::int32_t CanvasMouse::wheelTurned(std::int32_t x, std::int32_t y, std::int32_t delta,
                                      std::int32_t viewportHeight)
{
    if (model_.canvasActive)
        showPosition();
    record(x, y);
    // The record may have run past either end on the previous turn (the
    // scroll area clamps what it is given, not this record), so it is brought
    // back into range before the turn is applied.
    const std::int32_t bottom = display_.canvasSize() - viewportHeight;
    scrollTop_ = std::min(std::max(scrollTop_, 0), bottom);
    scrollTop_ -= delta;
    return scrollTop_;
}

SpriteEntry* CanvasMouse::pick(std::int32_t x, std::int32_t y)
{
    SpriteEntry* hit = model_.sprites.hitTest(x, y);
    picked_ = hit != nullptr;
    if (hit) {
        hit->opacity = kHeldOpacity;
        dragOffsetX_ = x - hit->x;
        dragOffsetY_ = y - hit->y;
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
