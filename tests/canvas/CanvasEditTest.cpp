// Every change kind applies, reverts to the model it found and applies again
// to the same result; removed sprites keep their pictures while a change
// holds them. A whole drag as one step is shown through the window's undo
// history (UndoWindowTest).

#include "canvas/CanvasEdit.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::describe;
using th::canvas::testing::placeAll;
using th::testing::placed;

struct Row {
    const char* name;
    std::size_t sprites; // how many of a, b, c the canvas starts with
    // Makes the change; may first move the selection.
    std::function<CanvasEdit(CanvasModel&)> change;
    std::string after;
};

TEST(CanvasEdit, ApplyRevertAndApplyAgain)
{
    const std::string abc = "a#1@0,0 10x10 b#2@10,0 20x10 c#3@30,0 10x10 ";
    const Row rows[] = {
        {"an import goes after the current sprite", 3,
         [](CanvasModel& m) {
             m.selectFirst();
             return AddSprites{.sprites = {placed(5, 6, 7, 8, false, "d")}, .placeX = 9, .placeY = 1};
         },
         "a#1@0,0 10x10 d#4@5,6 7x8 b#2@10,0 20x10 c#3@30,0 10x10 | current d, clip 2, place 9,1, active, size 1024"},
        {"a folder is one change", 0,
         [](CanvasModel&) { return AddSprites{.sprites = {placed(0, 0, 1, 1, false, "d"), placed(1, 0, 2, 1, true, "e")}}; },
         "d#1@0,0 1x1 e#2@1,0 2x1T | current e, clip 2, place 0,0, active, size 1024"},
        {"an empty folder still activates", 0, [](CanvasModel&) { return AddSprites{.placeX = 3}; },
         "| current -, clip 2, place 3,0, active, size 1024"},
        {"a delete closes the gap and selects the first", 3, [](CanvasModel&) { return RemoveSprite{.position = 0}; },
         "b#1@10,0 20x10 c#2@30,0 10x10 | current b, clip 2, place 40,0, active, size 1024"},
        {"deleting the last sprite empties the canvas", 1, [](CanvasModel&) { return RemoveSprite{.position = 0}; },
         "| current -, clip 0, place 0,0, inactive, size 1024"},
        {"a move puts the sprite on top", 3, [](CanvasModel&) { return MoveSprite{.position = 0, .x = -4, .y = 50}; },
         "b#2@10,0 20x10 c#3@30,0 10x10 a#1@-4,50 10x10 | current a, clip 2, place 40,0, active, size 1024"},
        {"a turn puts the sprite on top", 3, [](CanvasModel&) { return TurnSprite{.position = 1}; },
         "a#1@0,0 10x10 c#3@30,0 10x10 b#2@10,0 10x20T | current b, clip 2, place 40,0, active, size 1024"},
        {"clip", 3, [](CanvasModel&) { return SetClip{.margin = 6}; },
         abc + "| current c, clip 6, place 40,0, active, size 1024"},
        {"columns", 3, [](CanvasModel&) { return ReflowColumns{.places = {{1, 2}, {3, 4}, {5, 6}}}; },
         "a#1@1,2 10x10 b#2@3,4 20x10 c#3@5,6 10x10 | current c, clip 2, place 40,0, active, size 1024"},
        {"canvas size", 2, [](CanvasModel&) { return SetCanvasSize{.size = 4096}; },
         "a#1@0,0 10x10 b#2@10,0 20x10 | current b, clip 2, place 40,0, active, size 4096"},
        {"clear keeps the size", 3, [](CanvasModel&) { return ClearCanvas{}; },
         "| current -, clip 0, place 0,0, inactive, size 1024"},
        {"a reloaded picture keeps each sprite's corner and turn", 3,
         [](CanvasModel& m) {
             CanvasEdit turn = TurnSprite{.position = 1};
             apply(turn, m);
             // The test sprites come from no file, so all of them take it.
             return ReloadPictures{.pictures = {{.path = "", .image = 9, .width = 4, .height = 6}}};
         },
         "a#1@0,0 4x6 c#3@30,0 4x6 b#2@10,0 6x4T | current b, clip 2, place 40,0, active, size 1024"},
        {"a pivot leaves the order and the selection", 3,
         [](CanvasModel& m) {
             m.selectFirst();
             return SetPivot{.position = 1, .x = 0.125, .y = 1};
         },
         "a#1@0,0 10x10 b#2@10,0 20x10 pivot 0.125,1 c#3@30,0 10x10 | current a, clip 2, place 40,0, active, size "
         "1024"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CanvasModel model;
        CanvasEditor editor(model);
        std::vector<SpriteEntry> start = {placed(0, 0, 10, 10, false, "a"), placed(10, 0, 20, 10, false, "b"),
                                          placed(30, 0, 10, 10, false, "c")};
        start.resize(row.sprites);
        if (!start.empty())
            editor.perform(AddSprites{.sprites = std::move(start), .placeX = 40});
        editor.perform(SetClip{.margin = 2});
        CanvasEdit change = row.change(model);
        const std::string before = describe(model);
        const std::uint64_t revision = model.revision();

        apply(change, model);
        EXPECT_EQ(describe(model), row.after);
        EXPECT_EQ(model.revision(), revision + 1);
        revert(change, model);
        EXPECT_EQ(describe(model), before);
        EXPECT_EQ(model.revision(), revision + 2);
        apply(change, model);
        EXPECT_EQ(describe(model), row.after);
    }
}

// A history of every kind of change, with selections made between them:
// undoing all passes back through each earlier state, and doing all again
// gives each later state exactly as the change first made it.
TEST(CanvasEdit, UndoingAllAndDoingAllAgainPassesThroughEveryState)
{
    struct Step {
        const char* name;
        std::function<void(CanvasModel&)> select; // a selection, which is no change
        CanvasEdit change;
    };
    const auto none = [](CanvasModel&) {};
    const auto first = [](CanvasModel& m) { m.selectFirst(); };
    Step steps[] = {
        {"import three", none,
         AddSprites{.sprites = {placed(0, 0, 10, 10, false, "a"), placed(10, 0, 20, 10, false, "b"),
                                placed(30, 0, 10, 10, false, "c")},
                    .placeX = 40}},
        {"import after the first", first, AddSprites{.sprites = {placed(5, 6, 7, 8, false, "d")}, .placeX = 9}},
        {"move", none, MoveSprite{.position = 0, .x = -4, .y = 50}},
        {"turn", first, TurnSprite{.position = 2}},
        {"clip", first, SetClip{.margin = 3}},
        {"columns", none, ReflowColumns{.places = {{1, 2}, {3, 4}, {5, 6}, {7, 8}}}},
        {"canvas size", first, SetCanvasSize{.size = 2048}},
        {"import after the first again", first, AddSprites{.sprites = {placed(1, 1, 2, 2, true, "e")}}},
        {"delete", none, RemoveSprite{.position = 3}},
        {"clear", first, ClearCanvas{}},
    };
    CanvasModel model;
    std::vector<std::string> before;
    std::vector<std::string> after;
    for (Step& step : steps) {
        step.select(model);
        before.push_back(describe(model));
        apply(step.change, model);
        after.push_back(describe(model));
    }
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = std::size(steps); i-- > 0;) {
            SCOPED_TRACE(std::string("undo ") + steps[i].name);
            revert(steps[i].change, model);
            EXPECT_EQ(describe(model), before[i]);
        }
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            SCOPED_TRACE(std::string("redo ") + steps[i].name);
            apply(steps[i].change, model);
            EXPECT_EQ(describe(model), after[i]);
        }
    }
}

TEST(CanvasEdit, APictureIsFreedWhenTheLastSpriteOrChangeHoldingItGoes)
{
    std::vector<int> released;
    const auto sprite = [&](int image) {
        SpriteEntry entry = placed(10 * image, 0, 10, 10, false, std::to_string(image));
        entry.picture = holdPicture(image, [&](ImageHandle freed) { released.push_back(freed); });
        return entry;
    };
    {
        CanvasModel model;
        CanvasEditor editor(model);
        placeAll(editor, {sprite(1), sprite(2), sprite(3), sprite(4)});
        CanvasEdit removed = RemoveSprite{.position = 1};
        CanvasEdit cleared = ClearCanvas{};
        apply(removed, model);
        apply(cleared, model);
        EXPECT_TRUE(released.empty());
        revert(cleared, model);
        revert(removed, model);
        apply(removed, model);
        {
            CanvasEdit drop = std::move(removed);
        }
        EXPECT_EQ(released, std::vector<int>{2});
        // Without a history to keep it, a delete frees the picture at once.
        editor.perform(RemoveSprite{.position = 0});
        EXPECT_EQ(released, (std::vector<int>{2, 1}));
    }
    EXPECT_EQ(released, (std::vector<int>{2, 1, 3, 4}));
}

} // namespace
