// The canvas model: what is measured of the sprites (the used area, the
// sprite under a point, the sprites wholly outside the canvas), and every
// change kind, which applies, reverts to the model it found and applies again
// to the same result; removed sprites keep their pictures while a change
// holds them. A whole history undone and done again, and a drag as one step,
// are shown through the window (UndoWindowTest).

#include "canvas/CanvasEdit.h"
#include "canvas/CanvasModel.h"
#include "canvas/ImportReport.h"
#include "canvas/SpriteList.h"
#include "RecordingDisplay.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::describe;
using th::canvas::testing::DisplayedCanvas;
using th::testing::placed;

TEST(CanvasModel, MeasuresTheUsedAreaTheSpritesOutsideAndTheSpriteAtAPoint)
{
    const struct {
        std::int32_t clip;
        std::vector<SpriteEntry> sprites;
        std::int32_t width, height;
        int outside; // of a 1024 canvas
    } cases[] = {
        // The clip comes off the right of upright and the bottom of turned sprites.
        {4, {placed(0, 0, 100, 50), placed(100, 0, 100, 50)}, 196, 50, 0},
        {4, {placed(10, 20, 64, 32, true)}, 74, 48, 0},
        {0, {placed(0, 300, 10, 10), placed(500, 0, 10, 10)}, 510, 310, 0},
        {0, {placed(-40, -30, 20, 20)}, 0, 0, 1},
        {0, {placed(-40, -30, 20, 20), placed(-5, -5, 20, 20)}, 15, 15, 1},
        {3, {}, 0, 0, 0},
        // Outside only when no pixel of the box, clipped or not, is on the canvas.
        {0, {placed(1023, 1023, 5, 5), placed(1024, 0, 5, 5), placed(0, 1024, 5, 5), placed(-5, 0, 5, 5),
             placed(-4, -4, 5, 5)}, 1029, 1029, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.sprites.size() << " sprites, clip " << c.clip);
        DisplayedCanvas canvas(c.sprites);
        canvas.editor.perform(SetClip{.margin = c.clip});
        const UsedArea area = usedArea(canvas.model);
        EXPECT_EQ(std::pair(area.width, area.height), std::pair(c.width, c.height));
        EXPECT_EQ(countOutside(canvas.model.sprites().entries(), 1024), c.outside);
    }

    // The topmost box with its left and top edges only holds a point.
    SpriteList list;
    list.insert(0, placed(-20, -10, 30, 20, false, "a", 1));
    list.insert(1, placed(0, 0, 30, 20, false, "b", 2));
    list.selectFirst();
    for (const auto& [x, y, hit] : {std::tuple{0, 0, "b"}, {-20, -10, "a"}, {29, 19, "b"}, {-21, 0, ""},
                                    {30, 0, ""}, {0, 20, ""}, {2147483647, 0, ""}}) {
        const auto found = list.topmostAt(x, y);
        EXPECT_EQ(found ? list.entries()[*found].name : "", hit) << x << ", " << y;
    }
    EXPECT_EQ(list.current()->name, "a") << "looking does not move the cursor";
}

TEST(CanvasEdit, ApplyRevertAndApplyAgainHoldingThePicturesTheChangesNeed)
{
    const struct {
        const char* name;
        std::size_t sprites; // how many of a, b, c the canvas starts with
        CanvasEdit change;
        std::string after;
    } rows[] = {
        {"an import goes after the current sprite", 3,
         AddSprites{.sprites = {placed(5, 6, 7, 8, false, "d")}, .placeX = 9, .placeY = 1},
         "a#1@0,0 10x10 d#4@5,6 7x8 b#2@10,0 20x10 c#3@30,0 10x10T | current d, clip 2, place 9,1, active, size 1024"},
        {"a folder is one change", 0,
         AddSprites{.sprites = {placed(0, 0, 1, 1, false, "d"), placed(1, 0, 2, 1, true, "e")}},
         "d#1@0,0 1x1 e#2@1,0 2x1T | current e, clip 2, place 0,0, active, size 1024"},
        {"an empty folder still activates", 0, AddSprites{.placeX = 3},
         "| current -, clip 2, place 3,0, active, size 1024"},
        {"a delete closes the gap and selects the first", 3, RemoveSprite{.position = 1},
         "a#1@0,0 10x10 c#2@30,0 10x10T | current a, clip 2, place 40,0, active, size 1024"},
        {"deleting the last sprite empties the canvas", 1, RemoveSprite{.position = 0},
         "| current -, clip 0, place 0,0, inactive, size 1024"},
        {"a move puts the sprite on top", 3, MoveSprite{.position = 0, .x = -4, .y = 50},
         "b#2@10,0 20x10 c#3@30,0 10x10T a#1@-4,50 10x10 | current a, clip 2, place 40,0, active, size 1024"},
        {"a turn puts the sprite on top", 3, TurnSprite{.position = 1},
         "a#1@0,0 10x10 c#3@30,0 10x10T b#2@10,0 10x20T | current b, clip 2, place 40,0, active, size 1024"},
        {"clip", 3, SetClip{.margin = 6},
         "a#1@0,0 10x10 b#2@10,0 20x10 c#3@30,0 10x10T | current a, clip 6, place 40,0, active, size 1024"},
        {"columns", 3, ReflowColumns{.places = {{1, 2}, {3, 4}, {5, 6}}},
         "a#1@1,2 10x10 b#2@3,4 20x10 c#3@5,6 10x10T | current a, clip 2, place 40,0, active, size 1024"},
        {"a pack places and toggles turns in list order", 3,
         PackSprites{.places = {{1, 2}, {3, 4}, {5, 6}}, .turns = {false, true, true}},
         "a#1@1,2 10x10 b#2@3,4 10x20T c#3@5,6 10x10 | current a, clip 2, place 40,0, active, size 1024"},
        {"a nudge leaves the order and the selection", 3, NudgeSprite{.position = 1, .x = 7, .y = 8},
         "a#1@0,0 10x10 b#2@7,8 20x10 c#3@30,0 10x10T | current a, clip 2, place 40,0, active, size 1024"},
        {"canvas size", 2, SetCanvasSize{.size = 4096},
         "a#1@0,0 10x10 b#2@10,0 20x10 | current a, clip 2, place 40,0, active, size 4096"},
        {"clear keeps the size", 3, ClearCanvas{}, "| current -, clip 0, place 0,0, inactive, size 1024"},
        // The test sprites come from no file, so all of them take it.
        {"a reloaded picture keeps each sprite's corner and turn", 3,
         ReloadPictures{.pictures = {{.path = "", .image = 9, .width = 4, .height = 6}}},
         "a#1@0,0 4x6 b#2@10,0 4x6 c#3@30,0 6x4T | current a, clip 2, place 40,0, active, size 1024"},
        {"a pivot leaves the order and the selection", 3, SetPivot{.position = 1, .x = 0.125, .y = 1},
         "a#1@0,0 10x10 b#2@10,0 20x10 pivot 0.125,1 c#3@30,0 10x10T | current a, clip 2, place 40,0, active, "
         "size 1024"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CanvasModel model;
        CanvasEditor editor(model);
        std::vector<SpriteEntry> start = {placed(0, 0, 10, 10, false, "a"), placed(10, 0, 20, 10, false, "b"),
                                          placed(30, 0, 10, 10, true, "c")};
        start.resize(row.sprites);
        if (!start.empty())
            editor.perform(AddSprites{.sprites = std::move(start), .placeX = 40});
        editor.perform(SetClip{.margin = 2});
        // Not the top sprite, so that a revert must put back the selection it found.
        model.selectFirst();
        CanvasEdit change = row.change;
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

    // A picture is freed when the last sprite or change holding it goes.
    std::vector<int> released;
    const auto sprite = [&](int image) {
        SpriteEntry entry = placed(10 * image, 0, 10, 10, false, std::to_string(image));
        entry.picture = holdPicture(image, [&](ImageHandle freed) { released.push_back(freed); });
        return entry;
    };
    {
        CanvasModel model;
        CanvasEditor editor(model);
        editor.perform(AddSprites{.sprites = {sprite(1), sprite(2), sprite(3), sprite(4)}});
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
