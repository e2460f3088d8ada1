#include "app/CanvasHistory.h"

#include <QUndoCommand>

namespace th::app {

namespace {

constexpr int kNudgeRun = 1;
constexpr int kPivotClick = 2;

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

    // Nudges share an identifier so that the stack offers each new one to
    // the step before it, which takes it in while it is a run on one sprite;
    // pivots do too, so that a double-click's first click and its return to
    // the centre are one step.
    int id() const override
    {
        if (std::holds_alternative<canvas::NudgeSprite>(edit_))
            return kNudgeRun;
        return std::holds_alternative<canvas::SetPivot>(edit_) ? kPivotClick : -1;
    }
    bool mergeWith(const QUndoCommand* other) override
    {
        const canvas::CanvasEdit& later = static_cast<const EditStep*>(other)->edit_;
        return canvas::continueNudge(edit_, later) || canvas::continuePivot(edit_, later);
    }
    // The position read-out last shown while this step was the newest done:
    // a note beside the change, not part of it.
    mutable std::string shown;

private:
    canvas::CanvasEdit edit_;
    canvas::CanvasModel& model_;
    bool applied_ = false;
};

} // namespace

CanvasHistory::CanvasHistory(canvas::CanvasModel& model) : model_(model)
{
    stack_.setUndoLimit(kLimit);
}

void CanvasHistory::record(canvas::CanvasEdit edit)
{
    stack_.push(new EditStep(std::move(edit), model_));
}

void CanvasHistory::noteShown(const std::string& readout)
{
    if (stack_.index() == 0)
        shownBeforeAll_ = readout;
    else
        static_cast<const EditStep*>(stack_.command(stack_.index() - 1))->shown = readout;
}

std::string CanvasHistory::shownNow() const
{
    if (stack_.index() == 0)
        return shownBeforeAll_;
    return static_cast<const EditStep*>(stack_.command(stack_.index() - 1))->shown;
}

bool CanvasHistory::undo()
{
    if (!stack_.canUndo())
        return false;
    stack_.undo();
    return true;
}

bool CanvasHistory::redo()
{
    if (!stack_.canRedo())
        return false;
    stack_.redo();
    return true;
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
