#pragma once
// The canvas's undo history: every finished change of the editing API
// becomes one step of a QUndoStack, named after the change ("Move",
// "Delete Image", ...). A step holds its change, and with it the pictures
// of any sprites the change took off the canvas, until the step leaves the
// stack: pushed off the bottom past the limit, or dropped from the redo end
// by a new change.

#include "canvas/CanvasEdit.h"

#include <QUndoStack>

#include <string>

namespace th::app {

class CanvasHistory {
public:
    static constexpr int kLimit = 200;

    explicit CanvasHistory(canvas::CanvasModel& model);

    // A change the editor already applied.
    void record(canvas::CanvasEdit edit);
    // Each takes one step if there is one, and says whether it did.
    bool undo();
    bool redo();
    // The position read-out shown once the newest done step was made, so
    // that an undo or redo coming back to a step shows what its command
    // showed (a folder import leaves the read-out, Reset Columns shows a
    // turned sprite by the upright formula). Empty when none was noted.
    void noteShown(const std::string& readout);
    std::string shownNow() const;

    // The names of the steps Undo and Redo would take; empty when none.
    std::string undoName() const;
    std::string redoName() const;
    int count() const { return stack_.count(); }

private:
    canvas::CanvasModel& model_;
    QUndoStack stack_;
    std::string shownBeforeAll_;
};

} // namespace th::app
