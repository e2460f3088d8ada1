#pragma once
// What the mouse does on the canvas: a left press picks the topmost sprite
// under the pointer (it comes to the top, shown half transparent), moves drag it,
// optionally snapped to an 8-pixel grid, the release drops it; a right press
// turns a sprite by 90 degrees; the wheel scrolls the canvas vertically.
// With Ctrl, a left press inside the current sprite sets its pivot there and
// a double-click puts it back to the centre; neither picks anything up.
//
// Every event acts on the pointer position recorded at the previous canvas
// event and then records its own. The view tracks the pointer even with no
// button held, so a press always comes after a move to the point pressed and
// picks what is under the pointer; a drag follows the pointer one event behind.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasEdit.h"

#include <cstdint>
#include <optional>

namespace th::canvas {

class CanvasMouse {
public:
    CanvasMouse(CanvasEditor& editor, CanvasDisplay& display);

    // Positions are in canvas pixels, y growing downwards. Presses, moves
    // and releases do nothing but record the pointer while the canvas is
    // inactive (before any picture has been placed).
    void leftPressed(std::int32_t x, std::int32_t y);
    void leftReleased(std::int32_t x, std::int32_t y);
    void pointerMoved(std::int32_t x, std::int32_t y);
    void rightPressed(std::int32_t x, std::int32_t y);
    void pivotPressed(std::int32_t x, std::int32_t y);
    void pivotDoubleClicked(std::int32_t x, std::int32_t y);
    // Scrolls whether or not the canvas is active and answers the new
    // vertical scroll position for the scroll area, which keeps it within its
    // own limits. delta is positive when the wheel turns away from the user,
    // which scrolls up as desktops do.
    std::int32_t wheelTurned(std::int32_t x, std::int32_t y, std::int32_t delta, std::int32_t viewportHeight);

    bool snapToGrid() const { return snapToGrid_; }
    void setSnapToGrid(bool on) { snapToGrid_ = on; }
    // True between a left press and the next left release.
    bool dragging() const { return dragging_; }
    // The picture of the sprite a left press picked, until the release; the
    // view shows it half transparent.
    std::optional<ImageHandle> held() const { return held_; }

private:
    // The topmost sprite under the point, remembering where it was grabbed.
    std::optional<std::size_t> pick(std::int32_t x, std::int32_t y);
    // A pivot change for the current sprite when the pointer is inside its
    // visible box; `centre` puts it back to the middle.
    void setPivot(bool centre);
    void showPosition();
    void record(std::int32_t x, std::int32_t y);

    CanvasEditor& editor_;
    CanvasModel& model_;
    CanvasDisplay& display_;
    std::optional<ImageHandle> held_;
    bool snapToGrid_ = false;
    bool dragging_ = false;
    // Whether the last pick found a sprite; moves drag only after one did.
    bool picked_ = false;
    // The pointer's offset inside the sprite at the moment it was picked.
    std::int32_t dragOffsetX_ = 0;
    std::int32_t dragOffsetY_ = 0;
    std::int32_t pointerX_ = 0;
    std::int32_t pointerY_ = 0;
    // Only the wheel changes this record; it is not read back from the
    // scroll area.
    std::int32_t scrollTop_ = 0;
};

} // namespace th::canvas
