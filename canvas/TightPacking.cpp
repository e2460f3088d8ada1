#include "canvas/TightPacking.h"

#include "canvas/GridSnap.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace th::canvas {

namespace {

struct Rect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::int32_t right() const { return x + width; }
    std::int32_t bottom() const { return y + height; }
    bool overlaps(const Rect& other) const
    {
        return x < other.right() && other.x < right() && y < other.bottom() && other.y < bottom();
    }
    bool inside(const Rect& other) const
    {
        return x >= other.x && y >= other.y && right() <= other.right() && bottom() <= other.bottom();
    }
};

// A box as the packer sees it: its own size, and the cell it takes with the
// gap after it (and, on the grid, rounded up to the next grid line), so
// that cells laid edge to edge keep the gap between boxes.
struct Cell {
    std::int32_t width;
    std::int32_t height;
    std::int32_t cellWidth;
    std::int32_t cellHeight;
};

std::int32_t roundedUp(std::int32_t v, bool onGrid)
{
    return onGrid ? (v + kGrid - 1) / kGrid * kGrid : v;
}

Cell cellOf(const PackBox& box, const PackOptions& options, bool turned)
{
    const std::int32_t width = turned ? box.height : box.width;
    const std::int32_t height = turned ? box.width : box.height;
    return {width, height, roundedUp(width + options.gap, options.onGrid),
            roundedUp(height + options.gap, options.onGrid)};
}

// The free space of one trial as maximal rectangles: every largest empty
// rectangle, overlapping one another.
class FreeSpace {
public:
    // Boxes must end inside limitWidth × limitHeight; the space reaches
    // further by the most a cell can stick out past its box.
    FreeSpace(std::int32_t limitWidth, std::int32_t limitHeight, std::int32_t overhang)
        : limitWidth_(limitWidth)
        , limitHeight_(limitHeight)
    {
        free_.push_back({0, 0, limitWidth + overhang, limitHeight + overhang});
    }

    struct Fit {
        std::size_t index;
        std::int32_t shortSide;
        std::int32_t longSide;
    };

    // The best short side fit for a cell; the first of equals wins.
    std::optional<Fit> bestFit(const Cell& cell) const
    {
        std::optional<Fit> best;
        for (std::size_t i = 0; i < free_.size(); ++i) {
            const Rect& space = free_[i];
            if (cell.cellWidth > space.width || cell.cellHeight > space.height
                || space.x + cell.width > limitWidth_ || space.y + cell.height > limitHeight_)
                continue;
            const std::int32_t leftOverX = space.width - cell.cellWidth;
            const std::int32_t leftOverY = space.height - cell.cellHeight;
            const Fit fit{i, std::min(leftOverX, leftOverY), std::max(leftOverX, leftOverY)};
            if (!best || fit.shortSide < best->shortSide
                || (fit.shortSide == best->shortSide && fit.longSide < best->longSide))
                best = fit;
        }
        return best;
    }

    Rect corner(std::size_t index) const { return free_[index]; }

    // Takes the cell out of the free space. Pieces narrower or lower than
    // `smallestSide` can hold no box still to come and are let go.
    void occupy(const Rect& used, std::int32_t smallestSide)
    {
        const std::size_t kept = split(used, smallestSide);
        prune(kept);
    }

private:
    // Replaces every free rectangle the cell overlaps by the up to four
    // pieces around it, which go to the end; returns where they start.
    std::size_t split(const Rect& used, std::int32_t smallestSide)
    {
        pieces_.clear();
        std::size_t kept = 0;
        for (std::size_t i = 0; i < free_.size(); ++i) {
            const Rect space = free_[i];
            if (!space.overlaps(used)) {
                free_[kept++] = space;
                continue;
            }
            const auto add = [&](Rect piece) {
                if (piece.width >= smallestSide && piece.height >= smallestSide)
                    pieces_.push_back(piece);
            };
            if (used.x > space.x)
                add({space.x, space.y, used.x - space.x, space.height});
            if (used.right() < space.right())
                add({used.right(), space.y, space.right() - used.right(), space.height});
            if (used.y > space.y)
                add({space.x, space.y, space.width, used.y - space.y});
            if (used.bottom() < space.bottom())
                add({space.x, used.bottom(), space.width, space.bottom() - used.bottom()});
        }
        free_.resize(kept);
        free_.insert(free_.end(), pieces_.begin(), pieces_.end());
        return kept;
    }

    // Only the new pieces can lie inside another rectangle: an old one
    // inside a piece would have been inside the rectangle the piece came
    // from. Of two equal pieces the later goes.
    void prune(std::size_t firstPiece)
    {
        std::vector<bool> contained(free_.size() - firstPiece, false);
        for (std::size_t i = firstPiece; i < free_.size(); ++i) {
            for (std::size_t j = 0; j < free_.size(); ++j) {
                if (j == i || (j >= firstPiece && contained[j - firstPiece]))
                    continue;
                if (free_[i].inside(free_[j]) && !(j > i && free_[j].inside(free_[i]))) {
                    contained[i - firstPiece] = true;
                    break;
                }
            }
        }
        std::size_t kept = firstPiece;
        for (std::size_t i = firstPiece; i < free_.size(); ++i)
            if (!contained[i - firstPiece])
                free_[kept++] = free_[i];
        free_.resize(kept);
    }

    std::int32_t limitWidth_;
    std::int32_t limitHeight_;
    std::vector<Rect> free_;
    std::vector<Rect> pieces_;
};

// Largest area first, then by name, then as given.
std::vector<std::size_t> packingOrder(std::span<const PackBox> boxes)
{
    std::vector<std::size_t> order(boxes.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const PackBox& p = boxes[a];
        const PackBox& q = boxes[b];
        const std::int64_t areaP = std::int64_t(p.width) * p.height;
        const std::int64_t areaQ = std::int64_t(q.width) * q.height;
        if (areaP != areaQ)
            return areaP > areaQ;
        return p.name < q.name;
    });
    return order;
}

struct Trial {
    std::vector<PackedBox> places;
    std::int64_t usedArea = 0;
};

// One layout with the boxes ending inside limitWidth × limitHeight, or
// nullopt as soon as one does not fit.
std::optional<Trial> packWithin(std::span<const PackBox> boxes, std::span<const std::size_t> order,
                                std::span<const std::int32_t> smallestSideFrom, const PackOptions& options,
                                std::int32_t limitWidth, std::int32_t limitHeight)
{
    const std::int32_t overhang = options.gap + (options.onGrid ? kGrid - 1 : 0);
    FreeSpace space(limitWidth, limitHeight, overhang);
    Trial trial;
    trial.places.resize(boxes.size());
    std::int32_t usedWidth = 0;
    std::int32_t usedHeight = 0;
    for (std::size_t step = 0; step < order.size(); ++step) {
        const PackBox& box = boxes[order[step]];
        const Cell upright = cellOf(box, options, false);
        std::optional<FreeSpace::Fit> fit = space.bestFit(upright);
        bool turned = false;
        if (options.mayTurn && box.width != box.height) {
            const std::optional<FreeSpace::Fit> turnedFit = space.bestFit(cellOf(box, options, true));
            if (turnedFit && (!fit || turnedFit->shortSide < fit->shortSide
                              || (turnedFit->shortSide == fit->shortSide && turnedFit->longSide < fit->longSide))) {
                fit = turnedFit;
                turned = true;
            }
        }
        if (!fit)
            return std::nullopt;
        const Cell cell = cellOf(box, options, turned);
        const Rect at = space.corner(fit->index);
        space.occupy({at.x, at.y, cell.cellWidth, cell.cellHeight}, smallestSideFrom[step + 1]);
        trial.places[order[step]] = {at.x, at.y, turned};
        usedWidth = std::max(usedWidth, at.x + cell.width);
        usedHeight = std::max(usedHeight, at.y + cell.height);
    }
    trial.usedArea = std::int64_t(usedWidth) * usedHeight;
    return trial;
}

// Trial widths are spread around the side of a square holding every cell;
// each width costs several layouts, so many boxes get fewer widths.
constexpr std::int64_t kTrialBudget = 4000;
constexpr int kMostWidths = 6;

// What every trial of one set of boxes shares.
struct Prepared {
    std::vector<std::size_t> order;
    // The smallest side of any box from each step on, for letting go of
    // free space too small for all of them.
    std::vector<std::int32_t> smallestSideFrom;
    std::int64_t cellArea = 0;
};

Prepared prepare(std::span<const PackBox> boxes, const PackOptions& options)
{
    Prepared prepared{packingOrder(boxes), std::vector<std::int32_t>(boxes.size() + 1, options.canvasSide + 1)};
    for (std::size_t step = boxes.size(); step-- > 0;) {
        const Cell cell = cellOf(boxes[prepared.order[step]], options, false);
        prepared.smallestSideFrom[step] = std::min({prepared.smallestSideFrom[step + 1], cell.width, cell.height});
        prepared.cellArea += std::int64_t(cell.cellWidth) * cell.cellHeight;
    }
    return prepared;
}

} // namespace

std::optional<std::vector<PackedBox>> packTightly(std::span<const PackBox> boxes, const PackOptions& options)
{
    const Prepared prepared = prepare(boxes, options);
    const std::int32_t side = options.canvasSide;
    std::optional<Trial> best = packWithin(boxes, prepared.order, prepared.smallestSideFrom, options, side, side);
    if (!best)
        return std::nullopt;

    const auto keepBetter = [&](std::optional<Trial> layout) {
        if (layout && layout->usedArea < best->usedArea)
            best = std::move(layout);
        return layout.has_value();
    };
    const auto fits = [&](std::int32_t width, std::int32_t height) {
        return keepBetter(packWithin(boxes, prepared.order, prepared.smallestSideFrom, options, width, height));
    };

    // For each trial width, the lowest height that still takes every box,
    // searched between the cells' area and a little above it.
    const int widths = int(std::clamp<std::int64_t>(kTrialBudget / std::int64_t(boxes.size()), 0, kMostWidths));
    const double square = std::sqrt(double(prepared.cellArea));
    for (int trial = 0; trial < widths; ++trial) {
        const double factor = 0.95 + 0.25 * double(trial) / double(std::max(widths - 1, 1));
        const std::int32_t width = std::int32_t(std::min(double(side), square * factor));
        std::int32_t failing = std::int32_t(std::min<std::int64_t>(side, prepared.cellArea / width)) - 1;
        std::int32_t fitting = std::min(side, failing + failing / 5 + 1);
        if (!fits(width, fitting)) {
            failing = fitting;
            fitting = side;
            if (failing >= side || !fits(width, fitting))
                continue;
        }
        while (fitting - failing > 1) {
            const std::int32_t middle = failing + (fitting - failing) / 2;
            (fits(width, middle) ? fitting : failing) = middle;
        }
    }
    return std::move(best->places);
}

std::optional<std::int32_t> sideNeeded(std::span<const PackBox> boxes, PackOptions options)
{
    constexpr std::int32_t kLargestSide = 32768;
    for (std::int32_t side = 1024; side <= kLargestSide; side *= 2) {
        options.canvasSide = side;
        const Prepared prepared = prepare(boxes, options);
        if (packWithin(boxes, prepared.order, prepared.smallestSideFrom, options, side, side))
            return side;
    }
    return std::nullopt;
}

} // namespace th::canvas
