#include "canvas/CanvasZoom.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace th::canvas {

double zoomedIn(double zoom)
{
    const auto* next = std::upper_bound(std::begin(kZoomSteps), std::end(kZoomSteps), zoom);
    return next == std::end(kZoomSteps) ? kZoomSteps[std::size(kZoomSteps) - 1] : *next;
}

double zoomedOut(double zoom)
{
    const auto* below = std::lower_bound(std::begin(kZoomSteps), std::end(kZoomSteps), zoom);
    return below == std::begin(kZoomSteps) ? kZoomSteps[0] : *std::prev(below);
}

double fitZoom(std::int32_t canvasSize, int viewportWidth, int viewportHeight)
{
    const int room = std::max(1, std::min(viewportWidth, viewportHeight));
    return std::min(double(room) / double(std::max(canvasSize, 1)), kZoomSteps[std::size(kZoomSteps) - 1]);
}

std::int32_t canvasCoordinate(double viewPosition, double zoom)
{
    return std::int32_t(std::floor(viewPosition / zoom));
}

std::int64_t viewEdge(std::int64_t canvasPosition, double zoom)
{
    return std::int64_t(std::floor(double(canvasPosition) * zoom));
}

} // namespace th::canvas
