#include "export/EdgeExtrusion.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace th::exporting {

namespace {

struct Box {
    int left;
    int top;
    int right; // one past
    int bottom;

    bool holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    // How far a point lies outside, counted the larger way; 0 inside.
    int distance(int x, int y) const
    {
        const int dx = x < left ? left - x : (x >= right ? x - right + 1 : 0);
        const int dy = y < top ? top - y : (y >= bottom ? y - bottom + 1 : 0);
        return std::max(dx, dy);
    }
};

// The boxes cut to the sheet, each listed in every square cell of the sheet
// that its extruded reach touches, so a pixel looks only at boxes near it.
class NearBoxes {
public:
    static constexpr int kCell = 64;

    NearBoxes(const std::vector<Box>& boxes, int width, int height, int reach)
        : columns_((width + kCell - 1) / kCell)
        , rows_((height + kCell - 1) / kCell)
        , cells_(std::size_t(columns_) * std::size_t(rows_))
    {
        for (std::size_t number = 0; number < boxes.size(); ++number) {
            const Box& box = boxes[number];
            const int firstColumn = std::max(box.left - reach, 0) / kCell;
            const int lastColumn = std::min(box.right + reach, width) - 1;
            const int firstRow = std::max(box.top - reach, 0) / kCell;
            const int lastRow = std::min(box.bottom + reach, height) - 1;
            for (int row = firstRow; row <= lastRow / kCell; ++row)
                for (int column = firstColumn; column <= lastColumn / kCell; ++column)
                    cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)].push_back(number);
        }
    }

    const std::vector<std::size_t>& at(int x, int y) const
    {
        return cells_[std::size_t(y / kCell) * std::size_t(columns_) + std::size_t(x / kCell)];
    }

private:
    int columns_;
    int rows_;
    std::vector<std::vector<std::size_t>> cells_;
};

} // namespace

int extrudeEdges(const image::PixelView& sheet, std::span<const canvas::SpriteEntry> sprites,
                 std::int32_t clipMargin, int pixels)
{
    if (!sheet || pixels <= 0)
        return 0;
    std::vector<Box> boxes;
    for (const canvas::SpriteEntry& sprite : sprites) {
        const canvas::VisibleBox box = canvas::visibleBox(sprite, clipMargin);
        const auto cut = [](std::int64_t v, int end) { return int(std::clamp<std::int64_t>(v, 0, end)); };
        const Box onSheet{cut(box.left, sheet.width), cut(box.top, sheet.height), cut(box.left + box.width, sheet.width),
                          cut(box.top + box.height, sheet.height)};
        // A box cut away entirely repeats nothing, but one only partly on
        // the sheet repeats its part.
        if (onSheet.left < onSheet.right && onSheet.top < onSheet.bottom)
            boxes.push_back(onSheet);
    }
    const NearBoxes near(boxes, sheet.width, sheet.height, pixels);
    const auto pixelAt = [&sheet](int x, int y) { return sheet.pixels + std::size_t(y) * sheet.stride + std::size_t(x) * 4; };

    int met = 0;
    for (std::size_t number = 0; number < boxes.size(); ++number) {
        const Box& own = boxes[number];
        bool meets = false;
        const int top = std::max(own.top - pixels, 0);
        const int bottom = std::min(own.bottom + pixels, sheet.height);
        const int left = std::max(own.left - pixels, 0);
        const int right = std::min(own.right + pixels, sheet.width);
        for (int y = top; y < bottom; ++y) {
            const bool besideOnly = y >= own.top && y < own.bottom;
            for (int x = left; x < right; ++x) {
                // Inside its own box's rows only the columns either side count.
                if (besideOnly && x == own.left) {
                    x = own.right - 1;
                    continue;
                }
                const auto& candidates = near.at(x, y);
                std::size_t nearest = number;
                int nearestDistance = own.distance(x, y);
                bool covered = false;
                bool shared = false;
                for (std::size_t other : candidates) {
                    if (other == number)
                        continue;
                    const int distance = boxes[other].distance(x, y);
                    if (distance == 0) {
                        covered = true;
                        break;
                    }
                    if (distance > pixels)
                        continue;
                    shared = true;
                    if (distance < nearestDistance || (distance == nearestDistance && other > nearest)) {
                        nearest = other;
                        nearestDistance = distance;
                    }
                }
                if (covered)
                    continue;
                meets = meets || shared;
                if (nearest != number)
                    continue;
                std::memcpy(pixelAt(x, y), pixelAt(std::clamp(x, own.left, own.right - 1), std::clamp(y, own.top, own.bottom - 1)), 4);
            }
        }
        met += meets ? 1 : 0;
    }
    return met;
}

} // namespace th::exporting
