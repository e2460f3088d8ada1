// Reset columns; five 100 x 50 sprites at margin 0 are laid out through the
// real window in tests/app.

#include "canvas/ColumnLayout.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using th::canvas::CanvasModel;
using th::canvas::SpriteEntry;
using th::testing::placed;
using Place = std::pair<std::int32_t, std::int32_t>;

struct Layout {
    const char* name;
    std::vector<Place> sizes; // sprites numbered 1, 2, ... in this order
    std::int32_t clip;
    std::int32_t rotatedIndex;
    std::int32_t selected, selectedX; // the sprite picked and where its left edge is put
    std::vector<Place> places;        // afterwards, by index
    std::string readout;
};

TEST(ColumnLayout, RowsEndAtTheSelectedSpritesRightEdge)
{
    const std::vector<Place> fiveOf100By50(5, {100, 50});
    const Layout layouts[] = {
        {"margin 10: the visible boxes touch", fiveOf100By50, 10, 0, 3, 200,
         {{-10, 0}, {70, 0}, {150, 0}, {230, 0}, {-10, 50}}, "Image X: 160 / Y: 0"},
        {"off the left edge: one column, each row as high as its opener", {{100, 10}, {100, 20}, {100, 30}, {100, 40}, {100, 50}},
         0, 0, 5, -150, {{0, 10}, {0, 30}, {0, 60}, {0, 100}, {0, 150}}, "Image X: 0 / Y: 150"},
        {"a turned sprite sits margin right and up", {{100, 50}, {50, 100}, {100, 50}}, 10, 2, 2, 1000,
         {{-10, 0}, {80, -10}, {120, 0}}, "Image X: 90 / Y: -10"},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        CanvasModel model;
        th::canvas::testing::RecordingDisplay display;
        model.clipMargin = layout.clip;
        std::int32_t scatter = 0;
        for (const auto& [width, height] : layout.sizes) {
            scatter += 37;
            model.addSprite(placed(scatter, 2 * scatter, width, height, model.nextIndex + 1 == layout.rotatedIndex));
        }
        const SpriteEntry* selected = model.sprites.findByIndex(layout.selected);
        model.sprites.hitTest(selected->x, selected->y);
        ASSERT_EQ(model.sprites.current()->index, layout.selected);
        model.sprites.current()->x = layout.selectedX;
        std::vector<std::int32_t> order;
        for (const SpriteEntry& sprite : model.sprites.entries())
            order.push_back(sprite.index);

        th::canvas::resetColumns(model, display);
        std::vector<Place> places;
        for (std::int32_t index = 1; index <= std::int32_t(layout.sizes.size()); ++index)
            places.emplace_back(model.sprites.findByIndex(index)->x, model.sprites.findByIndex(index)->y);
        EXPECT_EQ(places, layout.places);
        EXPECT_EQ(display.positions.back(), layout.readout);
        for (const SpriteEntry& sprite : model.sprites.entries())
            EXPECT_EQ(sprite.index, order[&sprite - model.sprites.entries().data()]) << "the drawing order stays";
    }
}

TEST(ColumnLayout, AnEmptyCanvasIsLeftAlone)
{
    CanvasModel model;
    th::canvas::testing::RecordingDisplay display;
    th::canvas::resetColumns(model, display);
    EXPECT_TRUE(display.untouched());
}

} // namespace
