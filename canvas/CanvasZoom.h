#pragma once
// How far the canvas view is zoomed. Zoom is view state, never in the model:
// the model, the mouse, the snap and the read-outs see canvas pixels only,
// and these rules map the view's pixels to canvas pixels and back.

#include <cstdint>

namespace th::canvas {

// The steps the View menu, its keys and the wheel go through.
inline constexpr double kZoomSteps[] = {0.25, 0.5, 1.0, 2.0, 4.0};

// The first step above `zoom`, or the largest step.
double zoomedIn(double zoom);
// The last step below `zoom`, or the smallest step.
double zoomedOut(double zoom);
// The zoom at which the whole canvas fits a viewport, no larger than the
// largest step.
double fitZoom(std::int32_t canvasSize, int viewportWidth, int viewportHeight);

// The canvas pixel that a view position lies in (rounded down, so the view
// pixels of one canvas pixel all map to it).
std::int32_t canvasCoordinate(double viewPosition, double zoom);
// Where a canvas pixel's edge lies in the view, rounded down.
std::int64_t viewEdge(std::int64_t canvasPosition, double zoom);

} // namespace th::canvas
