// Laying the sprites out by the mouse, without a window (every event acts
// where the pointer was at the previous one), and by the alpha clip's steps,
// Reset Columns, the arrow keys' nudge and Pack Tightly: where each puts the
// sprites and what it shows. How the view paints is CanvasMouseWindowTest's,
// that each change reverts CanvasModelTest's.

#include "canvas/AlphaClip.h"
#include "canvas/CanvasMouse.h"
#include "canvas/CanvasReadouts.h"
#include "canvas/ColumnLayout.h"
#include "canvas/PackCommand.h"
#include "canvas/SpriteNudge.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"
#include "testing/ScriptedHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::describe;
using th::canvas::testing::DisplayedCanvas;
using th::testing::placed;

using Act = void (CanvasMouse::*)(std::int32_t x, std::int32_t y);
constexpr Act Move = &CanvasMouse::pointerMoved;
constexpr Act Left = &CanvasMouse::leftPressed;
constexpr Act Release = &CanvasMouse::leftReleased;
constexpr Act Right = &CanvasMouse::rightPressed;

using Event = std::tuple<Act, std::int32_t, std::int32_t>;

void play(CanvasMouse& mouse, const std::vector<Event>& events)
{
    for (const auto& [act, x, y] : events)
        (mouse.*act)(x, y);
}

TEST(CanvasMouse, PressesPickTurnAndDragTheTopmostSpriteUnderThePointerAndSnappedDragsMeetTheGrid)
{
    const std::string stacked = "wide#1@0,0 128x96 small#2@0,0 32x16 ";
    const struct {
        const char* name;
        std::vector<Event> events;
        std::string after; // the sprites, topmost last, and the current one
        ImageHandle held;  // 0: nothing held
    } gestures[] = {
        {"a left press holds the topmost sprite where the pointer was before it", {{Move, 40, 40}, {Left, 5, 5}},
         "small#2@0,0 32x16 wide#1@0,0 128x96 | current wide", 1},
        {"a drag follows one event behind; the release lets go",
         {{Move, 40, 40}, {Left, 40, 40}, {Move, 90, 70}, {Move, 91, 71}, {Release, 300, 300}},
         "small#2@0,0 32x16 wide#1@50,30 128x96 | current wide", 0},
        {"moves after a press that missed drag nothing",
         {{Move, 600, 600}, {Left, 600, 600}, {Move, 40, 40}, {Move, 90, 70}},
         stacked + "| current small", 0},
        {"a right press turns the sprite there a quarter, on top", {{Move, 40, 40}, {Right, 40, 40}},
         "small#2@0,0 32x16 wide#1@0,0 96x128T | current wide", 0},
        {"a right press on empty canvas turns nothing and selects the first", {{Move, 600, 600}, {Right, 600, 600}},
         stacked + "| current wide", 0},
        {"a sprite turned while held is shown whole and dragged on",
         {{Move, 40, 40}, {Left, 40, 40}, {Right, 40, 40}, {Move, 90, 70}, {Move, 91, 71}},
         "small#2@0,0 32x16 wide#1@50,30 96x128T | current wide", 0},
    };
    for (const auto& gesture : gestures) {
        SCOPED_TRACE(gesture.name);
        DisplayedCanvas canvas({placed(0, 0, 128, 96, false, "wide", 1), placed(0, 0, 32, 16, false, "small", 2)});
        CanvasMouse mouse(canvas.editor, canvas.display);
        play(mouse, gesture.events);
        const std::string state = describe(canvas.model);
        EXPECT_EQ(state.substr(0, state.find(", clip")), gesture.after);
        EXPECT_EQ(mouse.held().value_or(0), gesture.held);
        // The name label's wiring is UndoWindowTest's.
        ASSERT_FALSE(canvas.display.positions.empty());
        EXPECT_EQ(canvas.display.positions.back(), positionReadout(canvas.model));
    }

    // Snapped drags put the corner on the next grid line.
    DisplayedCanvas canvas({placed(0, 0, 64, 64)});
    CanvasMouse mouse(canvas.editor, canvas.display);
    mouse.setSnapToGrid(true);
    play(mouse, {{Move, 30, 30}, {Left, 30, 30}});
    // Dragged so that the corner would be at (d, d), it lands at (expected, expected).
    for (const auto& [d, expected] :
         {std::pair{0, 8}, {13, 16}, {16, 24}, {-3, 8}, {-8, 0}, {-13, 0}, {-16, -8}, {35, 40}}) {
        play(mouse, {{Move, 30 + d, 30 + d}, {Move, 31 + d, 31 + d}});
        const SpriteEntry& sprite = canvas.model.sprites().entries()[0];
        EXPECT_EQ(std::pair(sprite.x, sprite.y), std::pair(expected, expected)) << d;
    }
}

TEST(LayoutCommands, WithoutSpritesNothingMovesOrShowsButTheWheelScrolls)
{
    th::testing::ScriptedHost host;
    const std::vector<Event> everything = {{Move, 10, 10}, {Left, 10, 10},  {Move, 20, 20},
                                           {Release, 20, 20}, {Right, 10, 10}};
    const std::function<void(CanvasEditor&, CanvasDisplay&)> commands[] = {
        [&](CanvasEditor& editor, CanvasDisplay& display) {
            CanvasMouse mouse(editor, display);
            play(mouse, everything);
        },
        clipAlphaImage,
        expandAlphaClip,
        resetColumns,
        [](CanvasEditor& editor, CanvasDisplay& display) { nudgeCurrent(editor, display, 1, 0, NudgeStep::Pixel, false); },
        [&](CanvasEditor& editor, CanvasDisplay& display) { packSpritesTightly(editor, host, display, {}); },
    };
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        DisplayedCanvas empty;
        commands[i](empty.editor, empty.display);
        EXPECT_TRUE(empty.display.untouched() && empty.steps.empty()) << "command " << i;
    }
    EXPECT_TRUE(host.shown.empty());

    DisplayedCanvas canvas;
    CanvasMouse mouse(canvas.editor, canvas.display);
    // The record may run past either end on a turn; it is brought back to
    // the range of a 1024 canvas in a 600 high view before the next one.
    std::vector<std::int32_t> tops;
    for (const std::int32_t delta : {120, -120, -120, -120, -120, -120, -120, 120})
        tops.push_back(mouse.wheelTurned(0, 0, delta, 600));
    EXPECT_EQ(tops, (std::vector<std::int32_t>{-120, 120, 240, 360, 480, 544, 544, 304}));
    EXPECT_TRUE(canvas.display.untouched());

    canvas.editor.perform(AddSprites{});
    play(mouse, everything);
    EXPECT_EQ(describe(canvas.model), "| current -, clip 0, place 0,0, active, size 1024");
    EXPECT_EQ(canvas.display.names.back(), " ") << "an import that found nothing";
}

TEST(LayoutCommands, TheClipStepsByTwoUpToHalfTheCurrentWidthAndColumnsEndAtTheSelectedSprite)
{
    const struct {
        const char* name;
        SpriteEntry current;
        std::vector<std::int32_t> margins; // after four clips, then four expands
    } rows[] = {
        {"10 wide", placed(0, 0, 10, 40), {2, 4, 6, 6, 4, 2, 0, 0}},
        {"9 wide: the half rounds down", placed(0, 0, 9, 40), {2, 4, 4, 4, 2, 0, 0, 0}},
        {"turned, its picture's width is its height", placed(0, 0, 50, 10, true), {2, 4, 6, 6, 4, 2, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // The narrow sprite below plays no part.
        DisplayedCanvas canvas({placed(20, 0, 2, 2), row.current});
        std::vector<std::int32_t> margins;
        for (int i = 0; i < 8; ++i) {
            (i < 4 ? clipAlphaImage : expandAlphaClip)(canvas.editor, canvas.display);
            margins.push_back(canvas.model.clipMargin());
        }
        EXPECT_EQ(margins, row.margins);
        // Each step shows the read-out afresh, even one that changed nothing.
        EXPECT_EQ(canvas.display.positions.size(), 8u);
        EXPECT_EQ(canvas.display.positions.back(), positionReadout(canvas.model));
    }

    // Reset Columns: the rows end at the selected sprite's right edge.
    using Place = std::pair<std::int32_t, std::int32_t>;
    const struct {
        const char* name;
        std::vector<Place> sizes; // sprites numbered 1, 2, ... in this order
        std::int32_t clip, rotatedIndex;
        std::int32_t selected, selectedX; // the sprite picked and where its left edge is put
        std::vector<Place> places;        // afterwards, by index
        std::string readout;
    } layouts[] = {
        {"margin 10: the visible boxes touch", std::vector<Place>(5, {100, 50}), 10, 0, 3, 200,
         {{-10, 0}, {70, 0}, {150, 0}, {230, 0}, {-10, 50}}, "Image X: 160 / Y: 0"},
        {"off the left edge: one column, each row as high as its opener",
         {{100, 10}, {100, 20}, {100, 30}, {100, 40}, {100, 50}}, 0, 0, 5, -150,
         {{0, 10}, {0, 30}, {0, 60}, {0, 100}, {0, 150}}, "Image X: 0 / Y: 150"},
        {"a turned sprite sits margin right and up", {{100, 50}, {50, 100}, {100, 50}}, 10, 2, 2, 1000,
         {{-10, 0}, {80, -10}, {120, 0}}, "Image X: 90 / Y: -10"},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        std::vector<SpriteEntry> sprites;
        for (const auto& [width, height] : layout.sizes) {
            const std::int32_t scatter = 37 * std::int32_t(sprites.size() + 1);
            sprites.push_back(placed(scatter, 2 * scatter, width, height, std::int32_t(sprites.size()) + 1 == layout.rotatedIndex));
        }
        DisplayedCanvas canvas(std::move(sprites));
        auto& [model, steps, editor, display] = canvas;
        editor.perform(SetClip{.margin = layout.clip});
        // Picked and put down with its left edge at selectedX, as by the mouse.
        const std::size_t position = std::size_t(model.sprites().findByIndex(layout.selected) - model.sprites().entries().data());
        editor.perform(MoveSprite{.position = position, .x = layout.selectedX, .y = model.sprites().entries()[position].y});

        resetColumns(editor, display);
        std::vector<Place> places;
        for (std::int32_t index = 1; index <= std::int32_t(layout.sizes.size()); ++index)
            places.emplace_back(model.sprites().findByIndex(index)->x, model.sprites().findByIndex(index)->y);
        EXPECT_EQ(places, layout.places);
        EXPECT_EQ(display.positions.back(), layout.readout);
    }
}

TEST(LayoutCommands, NudgesMoveTheVisibleBoxAndPacksSetTheBoxesApartInsideTheCanvas)
{
    using enum NudgeStep;
    const struct {
        const char* name;
        std::int32_t x, y;
        bool rotated;
        std::int32_t clip;
        std::int32_t dx, dy;
        NudgeStep step;
        bool snap;
        std::int32_t toX, toY; // the sprite's corner afterwards
    } nudges[] = {
        {"one pixel up, snapping changes nothing", 10, 20, false, 0, 0, -1, Pixel, true, 10, 19},
        {"Shift: eight pixels left", 10, 20, false, 0, -1, 0, Large, false, 2, 20},
        {"Shift with snap: the next grid line down", 10, 21, false, 0, 0, 1, Large, true, 10, 24},
        {"Shift with snap from a grid line: the one before", 16, 20, false, 0, -1, 0, Large, true, 8, 20},
        {"the visible box goes to the grid, clipped at left", 10, 20, false, 3, 1, 0, Large, true, 13, 20},
        {"turned: clipped at the top", 10, 20, true, 3, 0, 1, Large, true, 10, 21},
        {"stopped at the left edge", 3, 20, false, 0, -1, 0, Large, false, 0, 20},
        {"stopped at the bottom edge by the visible box", 10, 1000, false, 0, 0, 1, Large, false, 10, 1024 - 30},
        {"one pixel right from off the canvas comes back inside", -50, 20, false, 0, 1, 0, Pixel, false, 0, 20},
    };
    for (const auto& nudge : nudges) {
        SCOPED_TRACE(nudge.name);
        // 40 x 30 on the canvas either way, so the clip takes off across x
        // while upright and across y while turned.
        DisplayedCanvas canvas({placed(500, 500, 8, 8), placed(nudge.x, nudge.y, 40, 30, nudge.rotated)});
        canvas.editor.perform(SetClip{.margin = nudge.clip});
        auto& [model, steps, editor, display] = canvas;
        const std::size_t stepsBefore = steps.size();

        nudgeCurrent(editor, display, nudge.dx, nudge.dy, nudge.step, nudge.snap);

        const SpriteEntry& sprite = model.sprites().entries()[1];
        EXPECT_EQ(std::pair(sprite.x, sprite.y), std::pair(nudge.toX, nudge.toY));
        EXPECT_EQ(model.sprites().currentPosition(), 1u) << "the drawing order and the current sprite stay";
        EXPECT_EQ(display.positions, std::vector{positionReadout(model)});
        ASSERT_EQ(steps.size(), stepsBefore + 1);
        // A second nudge on from there joins the first; one on another sprite does not.
        nudgeCurrent(editor, display, 0, -1, Pixel, false);
        EXPECT_TRUE(continueNudge(steps[stepsBefore], steps.back()));
        model.selectFirst();
        nudgeCurrent(editor, display, 1, 0, Pixel, false);
        EXPECT_FALSE(continueNudge(steps[stepsBefore], steps.back()));
    }

    // Pack Tightly sets the boxes apart inside the canvas, as one step.
    const auto apart = [](const VisibleBox& a, const VisibleBox& b, std::int64_t gap) {
        return a.left + a.width + gap <= b.left || b.left + b.width + gap <= a.left || a.top + a.height + gap <= b.top
               || b.top + b.height + gap <= a.top;
    };
    // Sprites named s0, s1, ... in this order, the first current.
    const auto sprites = [](const std::vector<std::tuple<std::int32_t, std::int32_t, bool>>& sizes) {
        std::vector<SpriteEntry> entries;
        for (const auto& [width, height, rotated] : sizes) {
            const std::int32_t n = std::int32_t(entries.size());
            entries.push_back(placed(7 * n, 3 * n, width, height, rotated, "s" + std::to_string(n) + ".png"));
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
        DisplayedCanvas canvas(packing.sprites);
        auto& [model, steps, editor, display] = canvas;
        th::testing::ScriptedHost host;
        editor.perform(SetClip{.margin = packing.clip});
        model.selectFirst();
        const std::string before = describe(model);
        steps.clear();

        packSpritesTightly(editor, host, display, packing.choices);

        EXPECT_EQ(host.shown.empty() ? "" : host.shown.at(0).text, packing.notice);
        ASSERT_EQ(steps.size(), packing.notice.empty() ? 1u : 0u);
        if (!packing.notice.empty()) {
            EXPECT_EQ(describe(model), before);
            continue;
        }
        const auto entries = model.sprites().entries();
        const std::int64_t gap = std::min(packing.choices.gap, kMostPackGap);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const VisibleBox box = visibleBox(entries[i], packing.clip);
            EXPECT_EQ(entries[i].index, std::int32_t(i) + 1) << "the list keeps its order";
            EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.left + box.width <= 1024 && box.top + box.height <= 1024)
                << i;
            EXPECT_TRUE(!packing.choices.snapToGrid || (box.left % 8 == 0 && box.top % 8 == 0)) << i;
            EXPECT_TRUE(packing.choices.mayTurn || entries[i].rotated == packing.sprites[i].rotated) << i;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_TRUE(apart(box, visibleBox(entries[j], packing.clip), gap)) << i << " and " << j;
        }
        const UsedArea used = usedArea(model);
        EXPECT_TRUE(packing.usedArea == 0 || std::int64_t(used.width) * used.height == packing.usedArea)
            << used.width << " x " << used.height;
        EXPECT_EQ(display.positions.back(), positionReadout(model));
        EXPECT_EQ(display.names.back(), "s0.png") << "the current sprite stays";
    }
}

} // namespace
