// Reset columns.

#include "canvas/ColumnLayout.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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
        std::vector<SpriteEntry> sprites;
        for (const auto& [width, height] : layout.sizes) {
            const std::int32_t scatter = 37 * std::int32_t(sprites.size() + 1);
            sprites.push_back(placed(scatter, 2 * scatter, width, height, std::int32_t(sprites.size()) + 1 == layout.rotatedIndex));
        }
        th::canvas::testing::DisplayedCanvas canvas(std::move(sprites));
        auto& [model, steps, editor, display] = canvas;
        editor.perform(th::canvas::SetClip{.margin = layout.clip});
        // Picked and put down with its left edge at selectedX, as by the mouse.
        const std::size_t position = std::size_t(model.sprites().findByIndex(layout.selected) - model.sprites().entries().data());
        editor.perform(th::canvas::MoveSprite{.position = position, .x = layout.selectedX,
                                              .y = model.sprites().entries()[position].y});

        th::canvas::resetColumns(editor, display);
        std::vector<Place> places;
        for (std::int32_t index = 1; index <= std::int32_t(layout.sizes.size()); ++index)
            places.emplace_back(model.sprites().findByIndex(index)->x, model.sprites().findByIndex(index)->y);
        EXPECT_EQ(places, layout.places);
        EXPECT_EQ(display.positions.back(), layout.readout);
    }

    th::canvas::testing::DisplayedCanvas empty;
    th::canvas::resetColumns(empty.editor, empty.display);
    EXPECT_TRUE(empty.display.untouched()) << "an empty canvas is left alone";
}

} // namespace
