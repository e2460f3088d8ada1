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

using th::canvas::CanvasModel;
using th::canvas::SpriteEntry;
using th::canvas::VisibleBox;

struct Size {
    std::int32_t width;
    std::int32_t height;
    bool rotated = false;
};

struct Packing {
    const char* name;
    std::vector<Size> sizes;
    std::int32_t canvas;
    std::int32_t clip;
    th::canvas::PackChoices choices;
    // The used rectangle's area afterwards (0: any), or the notice when
    // nothing may move.
    std::int64_t usedArea;
    std::string notice;
};

bool apart(const VisibleBox& a, const VisibleBox& b, std::int64_t gap)
{
    return a.left + a.width + gap <= b.left || b.left + b.width + gap <= a.left || a.top + a.height + gap <= b.top
           || b.top + b.height + gap <= a.top;
}

TEST(PackCommand, BoxesApartInsideTheCanvasAsOneStep)
{
    const std::vector<Size> fourSquares(4, {50, 50});
    const std::vector<Size> staves = {{20, 100}, {100, 20}, {100, 20}, {100, 20}, {100, 20}};
    std::vector<Size> mixed;
    for (std::int32_t i = 0; i < 40; ++i)
        mixed.push_back({17 + (i * 37) % 90, 11 + (i * 53) % 70, i % 3 == 0});
    const Packing packings[] = {
        {"four squares make one square", fourSquares, 1024, 0, {}, 100 * 100, ""},
        {"staves stay as they lie without turning", staves, 1024, 0, {}, 0, ""},
        {"turned, the staves make one square", staves, 1024, 0, {.mayTurn = true}, 100 * 100, ""},
        {"clipped boxes of turned and upright sprites, gap 5", mixed, 1024, 4, {.gap = 5, .mayTurn = true}, 0, ""},
        {"on the grid with gap 3, every corner on a grid line", mixed, 1024, 2, {.gap = 3, .snapToGrid = true}, 0, ""},
        {"a gap larger than allowed is held at 16: one row", fourSquares, 1024, 0, {.gap = 40}, (4 * 50 + 3 * 16) * 50, ""},
        {"too many for the canvas: nothing moves", std::vector<Size>(5, {600, 600}), 1024, 0, {}, 0,
         "The images do not fit on a 1024 × 1024 canvas when packed tightly; they need one of 2048 × 2048 pixels."},
    };
    for (const Packing& packing : packings) {
        SCOPED_TRACE(packing.name);
        CanvasModel model;
        th::canvas::CanvasEditor editor(model);
        th::canvas::testing::RecordingDisplay display;
        th::testing::ScriptedHost host;
        editor.perform(th::canvas::SetCanvasSize{.size = packing.canvas});
        std::vector<SpriteEntry> sprites;
        for (const Size& size : packing.sizes) {
            const std::int32_t n = std::int32_t(sprites.size());
            sprites.push_back(th::testing::placed(7 * n, 3 * n, size.width, size.height, size.rotated,
                                                  "s" + std::to_string(n % 5) + ".png"));
        }
        th::canvas::testing::placeAll(editor, std::move(sprites));
        editor.perform(th::canvas::SetClip{.margin = packing.clip});
        model.selectFirst();
        const std::string before = th::canvas::testing::describe(model);
        std::vector<th::canvas::CanvasEdit> steps;
        th::canvas::CanvasEditor recorded(model, [&steps](th::canvas::CanvasEdit edit) { steps.push_back(std::move(edit)); });

        th::canvas::packSpritesTightly(recorded, host, display, packing.choices);

        if (!packing.notice.empty()) {
            EXPECT_EQ(th::canvas::testing::describe(model), before);
            ASSERT_EQ(host.shown.size(), 1u);
            EXPECT_EQ(host.shown[0].text, packing.notice);
            EXPECT_TRUE(steps.empty());
            continue;
        }
        ASSERT_EQ(steps.size(), 1u);
        EXPECT_TRUE(host.shown.empty());
        const auto entries = model.sprites().entries();
        const std::int64_t gap = std::min(packing.choices.gap, th::canvas::kMostPackGap);
        std::int64_t right = 0, bottom = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const VisibleBox box = th::canvas::visibleBox(entries[i], packing.clip);
            EXPECT_EQ(entries[i].index, std::int32_t(i) + 1) << "the list keeps its order";
            EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.left + box.width <= packing.canvas
                        && box.top + box.height <= packing.canvas) << i;
            if (packing.choices.snapToGrid) {
                EXPECT_TRUE(box.left % 8 == 0 && box.top % 8 == 0) << i;
            }
            if (!packing.choices.mayTurn) {
                EXPECT_EQ(entries[i].rotated, packing.sizes[i].rotated) << i;
            }
            for (std::size_t j = 0; j < i; ++j) {
                EXPECT_TRUE(apart(box, th::canvas::visibleBox(entries[j], packing.clip), gap)) << i << " and " << j;
            }
            right = std::max(right, box.left + box.width);
            bottom = std::max(bottom, box.top + box.height);
        }
        if (packing.usedArea) {
            EXPECT_EQ(right * bottom, packing.usedArea);
        }
        EXPECT_EQ(display.positions.back(), th::canvas::positionReadout(model));
        EXPECT_EQ(display.names.back(), "s0.png") << "the current sprite stays";
        th::canvas::revert(steps[0], model);
        EXPECT_EQ(th::canvas::testing::describe(model), before);
    }
}

} // namespace
