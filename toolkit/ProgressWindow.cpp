#include "toolkit/ProgressWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

#include <exception>
#include <thread>

namespace th::toolkit {

namespace {

// The event loop's turns come at least this often while steps do.
constexpr qint64 kTurnMs = 40;

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent, int showAfterMs)
    : parent_(parent)
    , showAfterMs_(showAfterMs)
{
}

ProgressWindow::~ProgressWindow()
{
    finishHere();
}

bool ProgressWindow::step(WorkStage stage, int done, int total)
{
    if (QThread::currentThread() != relay_.thread()) {
        {
            const std::lock_guard lock(latestGuard_);
            const bool sent = latest_.has_value();
            latest_ = Step{stage, done, total};
            if (sent)
                return !cancelled_;
        }
        QMetaObject::invokeMethod(
            &relay_,
            [this] {
                std::optional<Step> latest;
                {
                    const std::lock_guard lock(latestGuard_);
                    latest.swap(latest_);
                }
                if (latest)
                    show(*latest);
            },
            Qt::QueuedConnection);
        return !cancelled_;
    }
    show({stage, done, total});
    if (lastTurn_.elapsed() >= kTurnMs) {
        // Input reaches only the progress window, which is modal.
        QApplication::processEvents(window_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        lastTurn_.start();
    }
    return !cancelled_;
}

void ProgressWindow::show(Step step)
{
    if (!working_) {
        working_ = true;
        cancelled_ = false;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        started_.start();
        lastTurn_.start();
    }
    if (!window_ && started_.elapsed() >= showAfterMs_) {
        window_ = new QProgressDialog(parent_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->setWindowTitle(QObject::tr("Working..."));
        window_->setWindowModality(Qt::ApplicationModal);
        window_->setAutoReset(false);
        window_->setAutoClose(false);
        window_->setMinimumDuration(0);
        QObject::connect(window_, &QProgressDialog::canceled, window_, [this] { cancelled_ = true; });
        window_->show();
        // The loop waiting for work aside starts again, now taking input.
        if (waiting_)
            waiting_->quit();
    }
    if (window_) {
        window_->setLabelText(QString::fromStdString(progressText(step.stage, step.done, step.total)));
        window_->setRange(0, step.total > 0 ? step.total : 0);
        window_->setValue(step.total > 0 ? step.done : 0);
    }
}

void ProgressWindow::finish()
{
    if (QThread::currentThread() != relay_.thread())
        QMetaObject::invokeMethod(&relay_, [this] { finishHere(); }, Qt::QueuedConnection);
    else
        finishHere();
}

void ProgressWindow::finishHere()
{
    if (!working_)
        return;
    working_ = false;
    // Closing a progress dialog reports a cancel, which nobody asked for here.
    if (QProgressDialog* window = window_) {
        window_ = nullptr;
        window->disconnect();
        window->close();
    }
    QApplication::restoreOverrideCursor();
}

void ProgressWindow::runAside(const std::function<void()>& work)
{
    QEventLoop waiting;
    bool ended = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued behind every step and finish the work sent.
        QMetaObject::invokeMethod(
            &waiting,
            [&] {
                ended = true;
                waiting.quit();
            },
            Qt::QueuedConnection);
    });
    waiting_ = &waiting;
    while (!ended)
        waiting.exec(window_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    waiting_ = nullptr;
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace th::toolkit
