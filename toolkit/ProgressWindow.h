#pragma once
// The real feedback on long work: a busy cursor from the first step, and a
// modal progress window with the stage and a Cancel button once the work has
// run for half a second. The work stays on the interface thread; each step
// gives the event loop a turn (at most every 40 ms), so the windows repaint
// and Cancel can be pressed. Until the progress window shows, that turn takes
// no input, so nobody can change what the work is reading.

#include "toolkit/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

class QWidget;

namespace th::toolkit {

class ProgressWindow final : public Progress {
public:
    // The window shows over `parent` after `showAfterMs` of work.
    explicit ProgressWindow(QWidget* parent, int showAfterMs = 500);
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    bool step(WorkStage stage, int done, int total) override;
    void finish() override;

    // The progress window while it shows, else null.
    QProgressDialog* window() const { return window_; }

private:
    QWidget* parent_;
    const int showAfterMs_;
    bool working_ = false;
    bool cancelled_ = false;
    QElapsedTimer started_;
    QElapsedTimer lastTurn_;
    QPointer<QProgressDialog> window_;
};

} // namespace th::toolkit
