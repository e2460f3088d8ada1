#include "canvas/ColumnLayout.h"
#include "PlacedSprite.h"
#include "RecordingDisplay.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using th::canvas::CanvasModel;
using th::canvas::resetColumns;
using th::canvas::SpriteEntry;
using th::canvas::testing::placed;
using th::canvas::testing::RecordingDisplay;

using Place = std::pair<std::int32_t, std::int32_t>;

class ColumnLayoutTest : public ::testing::Test {
protected:
    // Adds sprites of the given sizes (numbered 1, 2, ... in that order)
    // scattered over the canvas without overlapping.
    void addSprites(const std::vector<std::pair<std::int32_t, std::int32_t>>& sizes)
    {
        std::int32_t scatter = 0;
        for (const auto& [width, height] : sizes) {
            scatter += 37;
            model.addSprite(placed(scatter, 2 * scatter, width, height));
        }
    }
    // Brings sprite number `index` to the top as a click would, and moves it
    // so that its left edge is at x.
    void select(std::int32_t index, std::int32_t x)
    {
        const SpriteEntry* sprite = model.sprites.findByIndex(index);
        ASSERT_NE(sprite, nullptr);
        model.sprites.hitTest(sprite->x, sprite->y);
        ASSERT_EQ(model.sprites.current()->index, index);
        model.sprites.current()->x = x;
    }
    std::vector<Place> placesByIndex() const
    {
        std::vector<Place> places;
        for (std::int32_t index = 1; index <= std::int32_t(model.sprites.size()); ++index) {
            const SpriteEntry* sprite = model.sprites.findByIndex(index);
            places.emplace_back(sprite->x, sprite->y);
        }
        return places;
    }
    std::vector<std::int32_t> drawingOrder() const
    {
        std::vector<std::int32_t> indices;
        for (const SpriteEntry& sprite : model.sprites.entries())
            indices.push_back(sprite.index);
        return indices;
    }

    CanvasModel model;
    RecordingDisplay display;
};

const std::vector<std::pair<std::int32_t, std::int32_t>> kFiveOf100By50(5, {100, 50});

TEST_F(ColumnLayoutTest, RowsEndAtTheSelectedSpritesRightEdge)
{
    addSprites(kFiveOf100By50);
    select(3, 200);
    const auto order = drawingOrder();
    resetColumns(model, display);
    EXPECT_EQ(placesByIndex(), (std::vector<Place>{{0, 0}, {100, 0}, {200, 0}, {0, 50}, {100, 50}}));
    EXPECT_EQ(drawingOrder(), order);
    EXPECT_EQ(display.positions.back(), "Image X: 200 / Y: 0");
    EXPECT_EQ(model.sheetExtentX, 300);
    EXPECT_EQ(model.sheetExtentY, 100);
}

TEST_F(ColumnLayoutTest, WithAMarginTheVisibleBoxesTouch)
{
    addSprites(kFiveOf100By50);
    model.clipMargin = 10;
    select(3, 200);
    resetColumns(model, display);
    EXPECT_EQ(placesByIndex(), (std::vector<Place>{{-10, 0}, {70, 0}, {150, 0}, {230, 0}, {-10, 50}}));
    EXPECT_EQ(display.positions.back(), "Image X: 160 / Y: 0");
}

TEST_F(ColumnLayoutTest, SelectionOffTheLeftEdgeStacksEverySpriteInOneColumn)
{
    // Each new row is as high as the sprite that opens it.
    addSprites({{100, 10}, {100, 20}, {100, 30}, {100, 40}, {100, 50}});
    select(5, -150);
    resetColumns(model, display);
    EXPECT_EQ(placesByIndex(), (std::vector<Place>{{0, 10}, {0, 30}, {0, 60}, {0, 100}, {0, 150}}));
}

TEST_F(ColumnLayoutTest, TurnedSpriteSitsMarginRightAndUpAndReadsOutAsUpright)
{
    addSprites({{100, 50}, {50, 100}, {100, 50}});
    model.clipMargin = 10;
    model.sprites.passOver([](SpriteEntry& sprite) { sprite.rotated = sprite.index == 2; });
    select(2, 1000);
    resetColumns(model, display);
    EXPECT_EQ(placesByIndex(), (std::vector<Place>{{-10, 0}, {80, -10}, {120, 0}}));
    EXPECT_EQ(display.positions.back(), "Image X: 90 / Y: -10");
}

TEST_F(ColumnLayoutTest, DamagedNumberingOrAnEmptyCanvasIsHandledSafely)
{
    resetColumns(model, display);
    EXPECT_TRUE(display.untouched());

    addSprites({{10, 10}, {10, 10}, {10, 10}});
    select(3, 1000);
    // Numbers 1, 1, 7: only the first sprite numbered 1 has a slot.
    model.sprites.passOver([](SpriteEntry& sprite) { sprite.index = sprite.index == 3 ? 7 : 1; });
    resetColumns(model, display);
    const std::vector<SpriteEntry> after(model.sprites.entries().begin(), model.sprites.entries().end());
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(Place(after[0].x, after[0].y), Place(0, 0));
    EXPECT_EQ(Place(after[1].x, after[1].y), Place(74, 148));
    EXPECT_EQ(Place(after[2].x, after[2].y), Place(1000, 222));
}

} // namespace
