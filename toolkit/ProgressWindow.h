#pragma once
// The real feedback on long work: a busy cursor from the first step, and a
// modal progress window with the stage and a Cancel button once the work has
// run for half a second. Work on the interface thread gives the event loop a
// turn at its steps (at most every 40 ms); work run aside on a worker thread
// leaves the loop running and sends its steps over. Either way the windows
// repaint and Cancel can be pressed, and until the progress window shows no
// input is taken, so nobody can change what the work is reading.

#include "toolkit/Progress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

class QEventLoop;
class QWidget;

namespace th::toolkit {

class ProgressWindow final : public Progress {
public:
    // The window shows over `parent` after `showAfterMs` of work.
    explicit ProgressWindow(QWidget* parent, int showAfterMs = 500);
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Both may be called from the interface thread or from the work that
    // runAside runs.
    bool step(WorkStage stage, int done, int total) override;
    void finish() override;

    // Runs `work` on a worker thread and returns when it has ended; the
    // interface thread keeps its event loop meanwhile. `work` must not touch
    // a widget; it reports its steps here.
    void runAside(const std::function<void()>& work);

    // The progress window while it shows, else null.
    QProgressDialog* window() const { return window_; }

private:
    struct Step {
        WorkStage stage;
        int done, total;
    };
    void show(Step step);
    void finishHere();

    QWidget* parent_;
    const int showAfterMs_;
    bool working_ = false;
    std::atomic<bool> cancelled_ = false;
    QElapsedTimer started_;
    QElapsedTimer lastTurn_;
    QPointer<QProgressDialog> window_;
    // The loop runAside keeps while its work runs.
    QEventLoop* waiting_ = nullptr;
    // Calls sent over from the worker; they go with this object.
    QObject relay_;
    // The worker's latest step not yet shown: a step sent while another
    // waits replaces it.
    std::mutex latestGuard_;
    std::optional<Step> latest_;
};

} // namespace th::toolkit
