// Pack Tightly.

#include "canvas/PackCommand.h"
#include "canvas/CanvasReadouts.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"
#include "testing/ScriptedHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace th::canvas;

bool apart(const VisibleBox& a, const VisibleBox& b, std::int64_t gap)
{
    return a.left + a.width + gap <= b.left || b.left + b.width + gap <= a.left || a.top + a.height + gap <= b.top
           || b.top + b.height + gap <= a.top;
}

TEST(PackCommand, BoxesApartInsideTheCanvasAsOneStep)
{
    // Sprites named s0 to s4 over again, the first current.
    const auto sprites = [](const std::vector<std::tuple<std::int32_t, std::int32_t, bool>>& sizes) {
        std::vector<SpriteEntry> entries;
        for (const auto& [width, height, rotated] : sizes) {
            const std::int32_t n = std::int32_t(entries.size());
            const std::string name = "s" + std::to_string(n % 5) + ".png";
            entries.push_back(th::testing::placed(7 * n, 3 * n, width, height, rotated, name));
        }
        return entries;
    };
    const auto fourSquares = sprites(std::vector(4, std::tuple{50, 50, false}));
    const auto staves =
        sprites({{20, 100, false}, {100, 20, false}, {100, 20, false}, {100, 20, false}, {100, 20, false}});
    std::vector<std::tuple<std::int32_t, std::int32_t, bool>> mixed;
    for (std::int32_t i = 0; i < 40; ++i)
        mixed.emplace_back(17 + (i * 37) % 90, 11 + (i * 53) % 70, i % 3 == 0);
    const struct {
        const char* name;
        std::vector<SpriteEntry> sprites;
        std::int32_t clip;
        PackChoices choices;
        // The used rectangle's area afterwards (0: any), or the notice when
        // nothing may move.
        std::int64_t usedArea;
        std::string notice;
    } packings[] = {
        {"four squares make one square", fourSquares, 0, {}, 100 * 100, ""},
        {"staves stay as they lie without turning", staves, 0, {}, 0, ""},
        {"turned, the staves make one square", staves, 0, {.mayTurn = true}, 100 * 100, ""},
        {"clipped boxes of turned and upright sprites, gap 5", sprites(mixed), 4, {.gap = 5, .mayTurn = true}, 0, ""},
        {"on the grid with gap 3, every corner on a grid line", sprites(mixed), 2, {.gap = 3, .snapToGrid = true}, 0,
         ""},
        {"a gap larger than allowed is held at 16: one row", fourSquares, 0, {.gap = 40}, (4 * 50 + 3 * 16) * 50, ""},
        {"too many for the canvas: nothing moves", sprites(std::vector(5, std::tuple{600, 600, false})), 0, {}, 0,
         "The images do not fit on a 1024 × 1024 canvas when packed tightly; they need one of 2048 × 2048 pixels."},
    };
    for (const auto& packing : packings) {
        SCOPED_TRACE(packing.name);
        th::canvas::testing::DisplayedCanvas canvas(packing.sprites);
        auto& [model, steps, editor, display] = canvas;
        th::testing::ScriptedHost host;
        editor.perform(SetClip{.margin = packing.clip});
        model.selectFirst();
        const std::string before = th::canvas::testing::describe(model);
        steps.clear();

        packSpritesTightly(editor, host, display, packing.choices);

        if (!packing.notice.empty()) {
            EXPECT_EQ(th::canvas::testing::describe(model), before);
            EXPECT_EQ(host.shown.at(0).text, packing.notice);
            EXPECT_TRUE(steps.empty());
            continue;
        }
        ASSERT_EQ(steps.size(), 1u);
        EXPECT_TRUE(host.shown.empty());
        const auto entries = model.sprites().entries();
        const std::int64_t gap = std::min(packing.choices.gap, kMostPackGap);
        std::int64_t right = 0, bottom = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const VisibleBox box = visibleBox(entries[i], packing.clip);
            EXPECT_EQ(entries[i].index, std::int32_t(i) + 1) << "the list keeps its order";
            EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.left + box.width <= 1024 && box.top + box.height <= 1024)
                << i;
            EXPECT_TRUE(!packing.choices.snapToGrid || (box.left % 8 == 0 && box.top % 8 == 0)) << i;
            EXPECT_TRUE(packing.choices.mayTurn || entries[i].rotated == packing.sprites[i].rotated) << i;
            for (std::size_t j = 0; j < i; ++j) {
                EXPECT_TRUE(apart(box, visibleBox(entries[j], packing.clip), gap)) << i << " and " << j;
            }
            right = std::max(right, box.left + box.width);
            bottom = std::max(bottom, box.top + box.height);
        }
        EXPECT_TRUE(packing.usedArea == 0 || right * bottom == packing.usedArea) << right << " x " << bottom;
        EXPECT_EQ(display.positions.back(), positionReadout(model));
        EXPECT_EQ(display.names.back(), "s0.png") << "the current sprite stays";
        revert(steps[0], model);
        EXPECT_EQ(th::canvas::testing::describe(model), before);
    }
}

} // namespace
