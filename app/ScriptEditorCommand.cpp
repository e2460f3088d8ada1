#include "app/ScriptEditorCommand.h"

#include "editor/ScriptEditorWindow.h"

namespace th::app {

ScriptEditorCommand::ScriptEditorCommand(QWidget* mainWindow, toolkit::Host& host,
                                         std::function<void(QWidget*)> opened, std::function<void()> closed)
    : mainWindow_(mainWindow)
    , host_(host)
    , opened_(std::move(opened))
    , closed_(std::move(closed))
{
}

void ScriptEditorCommand::enable(toolkit::PreferenceStore& store, std::string preferenceFile, std::string dataFolder)
{
    store_ = &store;
    preferenceFile_ = std::move(preferenceFile);
    dataFolder_ = std::move(dataFolder);
}

void ScriptEditorCommand::open()
{
    if (!store_)
        return;
    if (!window_) {
        window_ = new editor::ScriptEditorWindow({*store_, preferenceFile_, dataFolder_, host_}, mainWindow_);
        QObject::connect(window_, &editor::ScriptEditorWindow::closed, mainWindow_, [this] { closed_(); });
        opened_(window_);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

// A closed window is deleted a moment later; it counts as gone at once.
bool ScriptEditorCommand::isOpen() const
{
    return window_ && window_->isVisible();
}

editor::ScriptEditorWindow* ScriptEditorCommand::window() const
{
    return window_;
}

bool ScriptEditorCommand::closeWindow()
{
    return !isOpen() || window_->close();
}

void ScriptEditorCommand::post(int element)
{
    if (!window_)
        return;
    QMetaObject::invokeMethod(window_, [window = window_, element] { window->onElement(element); },
                              Qt::QueuedConnection);
}

} // namespace th::app
