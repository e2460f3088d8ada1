#pragma once
// The one way to change the canvas. Every change is a value: apply() makes it
// on the model, revert() takes it back, and both count up the model's
// revision. A change records what it needs to go back when it is applied, so
// apply, revert, apply again gives the same model each time, as long as
// changes are reverted in the reverse order of applying (as an undo history
// does). Sprites a change takes off the canvas stay in the change, pictures
// and all, until it puts them back or is destroyed.

#include "canvas/CanvasModel.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace th::canvas {

// What a change puts back besides the sprites: recorded by apply().
struct Surroundings {
    // Set once the change has been applied; applied again, the change starts
    // from the selection it found the first time, since a selection made in
    // between is no change and is not taken back by an undo.
    bool recorded = false;
    std::optional<std::size_t> current;
    std::int32_t clipMargin = 0;
    std::int32_t placeX = 0;
    std::int32_t placeY = 0;
    bool canvasActive = false;
    std::int32_t canvasSize = 0;
};

// Adds sprites (one import, or a whole folder as one change) directly after
// the current sprite, numbered on from the list's size, and makes the last of
// them current. The canvas becomes active even when there are none, and the
// import place moves to (placeX, placeY).
struct AddSprites {
    std::vector<SpriteEntry> sprites = {}; // with their places; back here while reverted
    std::int32_t placeX = 0;
    std::int32_t placeY = 0;
    // A project puts its sprites on an empty canvas with the indices they
    // had (1 to N in any order), which then stay instead of being renumbered.
    bool keepIndices = false;
    std::size_t position = 0; // recorded
    std::size_t count = 0;    // recorded
    Surroundings before = {};
};

// Deletes the sprite at a list position and closes the gap in the indices;
// the first sprite becomes current. Deleting the last one leaves an empty,
// inactive canvas with no clip and the import place at the origin.
struct RemoveSprite {
    std::size_t position = 0;
    SpriteEntry removed = {}; // recorded
    Surroundings before = {};
};

// Puts the sprite at a list position on top of the drawing order, at (x, y),
// and makes it current: a whole drag from press to release.
struct MoveSprite {
    std::size_t position = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t fromX = 0; // recorded
    std::int32_t fromY = 0; // recorded
    Surroundings before = {};
};

// Puts the sprite at a list position on top and turns it a quarter, keeping
// its top-left corner; it becomes current.
struct TurnSprite {
    std::size_t position = 0;
    Surroundings before = {};
};

struct SetClip {
    std::int32_t margin = 0;
    Surroundings before = {};
};

using Place = std::pair<std::int32_t, std::int32_t>;

// New places for every sprite, by list position; the drawing order stays.
struct ReflowColumns {
    std::vector<Place> places = {};
    std::vector<Place> placesBefore = {}; // recorded
    Surroundings before = {};
};

struct SetCanvasSize {
    std::int32_t size = 1024;
    Surroundings before = {};
};

// New places for every sprite, by list position, each one turned a quarter
// first where `turns` says so (keeping its top-left corner); the drawing
// order and the current sprite stay.
struct PackSprites {
    std::vector<Place> places = {};
    std::vector<bool> turns = {};
    std::vector<Place> placesBefore = {}; // recorded
    Surroundings before = {};
};

// Moves the sprite at a list position to (x, y) without changing the drawing
// order: an arrow key. A run of them on one sprite becomes one step through
// continueNudge().
struct NudgeSprite {
    std::size_t position = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t fromX = 0; // recorded
    std::int32_t fromY = 0; // recorded
    Surroundings before = {};
};

// Sets the pivot of the sprite at a list position, as fractions of its
// visible box. A Ctrl+double-click's return to the centre marks itself as
// `undoesClick`, so that continuePivot() can fold it into the Ctrl+click its
// first press made.
struct SetPivot {
    std::size_t position = 0;
    double x = 0.5;
    double y = 0.5;
    bool undoesClick = false;
    double fromX = 0.5; // recorded
    double fromY = 0.5; // recorded
    Surroundings before = {};
};

// Empties the canvas: no sprite, no clip, inactive, import place at the origin.
struct ClearCanvas {
    std::vector<SpriteEntry> removed = {}; // recorded
    Surroundings before = {};
};

// A picture read again from its file after it changed on disk.
struct ReloadedPicture {
    std::string path = {}; // the sourcePath of the sprites that take it
    ImageHandle image = 0;
    std::int32_t width = 0; // unturned
    std::int32_t height = 0;
    PictureHold picture = {};
};

// Every sprite made from one of the files takes its new picture and size,
// keeping its top-left corner, its turn, its place in the drawing order and
// everything else. The pictures of one gathered burst of changes on disk go
// together, as one step.
struct ReloadPictures {
    std::vector<ReloadedPicture> pictures = {};
    // What each sprite given a new picture had, by list position.
    struct Replaced {
        std::size_t position = 0;
        ImageHandle image = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        PictureHold picture = {};
    };
    std::vector<Replaced> replaced = {}; // recorded
    Surroundings before = {};
};

using CanvasEdit = std::variant<AddSprites, RemoveSprite, MoveSprite, TurnSprite, SetClip, ReflowColumns,
                                SetCanvasSize, ClearCanvas, PackSprites, NudgeSprite, ReloadPictures, SetPivot>;

void apply(CanvasEdit& edit, CanvasModel& model);
void revert(CanvasEdit& edit, CanvasModel& model);

// The change as the user knows it, for "Undo Move" and "Redo Move": "Import",
// "Delete Image", "Move", "Rotate", "Clip", "Reset Columns", "Canvas Size",
// "New Canvas", "Pack Tightly", "Nudge", "Reload Picture", "Set Pivot".
std::string editName(const CanvasEdit& edit);

// Folds the applied `later` into the applied `earlier` when both nudge the
// same sprite and `later` starts where `earlier` ended: true when it did,
// and `earlier` then reverts both at once.
bool continueNudge(CanvasEdit& earlier, const CanvasEdit& later);

// Folds the applied `later` into the applied `earlier` when `later` is a
// double-click's return to the centre of the sprite whose pivot `earlier`,
// its first click, set: true when it did, and the double-click is one step.
bool continuePivot(CanvasEdit& earlier, const CanvasEdit& later);

// Moves the sprite of an applied MoveSprite (now on top) on to (x, y), as a
// drag does between press and release; the change then reverts from there.
void moveFurther(MoveSprite& applied, CanvasModel& model, std::int32_t x, std::int32_t y);

// Applies changes for the commands and the mouse and hands each finished one
// on, to the undo history once there is one.
class CanvasEditor {
public:
    using Finished = std::function<void(CanvasEdit)>;
    explicit CanvasEditor(CanvasModel& model, Finished finished = {});

    // The model for reading and for moving the selection.
    CanvasModel& model() const { return model_; }

    // Applies a change and hands it on. A drag in progress is finished first.
    void perform(CanvasEdit edit);

    // A drag: the sprite at `position` goes on top at once, follows moveTo,
    // and is handed on as one MoveSprite when finished, if it moved at all.
    void startMove(std::size_t position);
    void moveTo(std::int32_t x, std::int32_t y);
    void finishMove();
    bool moving() const { return move_.has_value(); }

private:
    CanvasModel& model_;
    Finished finished_;
    std::optional<MoveSprite> move_;
};

} // namespace th::canvas
