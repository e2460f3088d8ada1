#include "toolkit/ProgressWindow.h"

#include <QApplication>
#include <QProgressDialog>

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
    finish();
}

bool ProgressWindow::step(WorkStage stage, int done, int total)
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
    }
    if (window_) {
        window_->setLabelText(QString::fromStdString(progressText(stage, done, total)));
        window_->setRange(0, total > 0 ? total : 0);
        window_->setValue(total > 0 ? done : 0);
    }
    if (lastTurn_.elapsed() >= kTurnMs) {
        // Input reaches only the progress window, which is modal.
        QApplication::processEvents(window_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        lastTurn_.start();
    }
    return !cancelled_;
}

void ProgressWindow::finish()
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

} // namespace th::toolkit
