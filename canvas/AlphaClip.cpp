#include "canvas/AlphaClip.h"

#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"

namespace th::canvas {

namespace {

constexpr std::int32_t kClipStep = 2;

// The read-out shows the visible box, which the new margin has moved.
void showChangedClip(CanvasModel& model, CanvasDisplay& display)
{
    display.showPosition(positionReadout(model));
    selectTopAndRedraw(model, display);
}

} // namespace

void clipAlphaImage(CanvasEditor& editor, CanvasDisplay& display)
{
    CanvasModel& model = editor.model();
    const SpriteEntry* sprite = model.sprites().current();
    if (!sprite)
        return;
    // A turned sprite's picture width is its height on the canvas.
    const std::int32_t pictureWidth = sprite->rotated ? sprite->height : sprite->width;
    if (model.clipMargin() < pictureWidth / 2)
        editor.perform(SetClip{.margin = model.clipMargin() + kClipStep});
    showChangedClip(model, display);
}

void expandAlphaClip(CanvasEditor& editor, CanvasDisplay& display)
{
    CanvasModel& model = editor.model();
    if (model.sprites().empty())
        return;
    if (model.clipMargin() > 0)
        editor.perform(SetClip{.margin = model.clipMargin() - kClipStep});
    showChangedClip(model, display);
}

} // namespace th::canvas
