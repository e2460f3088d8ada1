#include "app/CanvasHistory.h"

#include <QUndoCommand>

namespace th::app {

namespace {

class EditStep final : public QUndoCommand {
public:
    EditStep(canvas::CanvasEdit edit, canvas::CanvasModel& model)
        : QUndoCommand(QString::fromStdString(canvas::editName(edit)))
        , edit_(std::move(edit))
        , model_(model)
    {
    }

    // The stack calls redo() when the step is pushed; the editor has applied
    // the change by then.
    void redo() override
    {
        if (applied_)
            canvas::apply(edit_, model_);
        applied_ = true;
    }
    void undo() override { canvas::revert(edit_, model_); }

private:
    canvas::CanvasEdit edit_;
    canvas::CanvasModel& model_;
    bool applied_ = false;
};

} // namespace

CanvasHistory::CanvasHistory(canvas::CanvasModel& model, std::function<void()> shown)
    : model_(model)
    , shown_(std::move(shown))
{
    stack_.setUndoLimit(kLimit);
}

void CanvasHistory::record(canvas::CanvasEdit edit)
{
    stack_.push(new EditStep(std::move(edit), model_));
}

void CanvasHistory::undo()
{
    if (!stack_.canUndo())
        return;
    stack_.undo();
    shown_();
}

void CanvasHistory::redo()
{
    if (!stack_.canRedo())
        return;
    stack_.redo();
    shown_();
}

std::string CanvasHistory::undoName() const
{
    return stack_.canUndo() ? stack_.undoText().toStdString() : std::string();
}

std::string CanvasHistory::redoName() const
{
    return stack_.canRedo() ? stack_.redoText().toStdString() : std::string();
}

} // namespace th::app
