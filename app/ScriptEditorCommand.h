#pragma once
// The main window's script editor command: one editor window at a time,
// brought to the front when asked for again, and the main menu's "Save
// Script" and "Delete Script" passed on to it as clicks.

#include <QPointer>

#include <functional>
#include <string>

class QWidget;

namespace th::editor {
class ScriptEditorWindow;
}
namespace th::toolkit {
class Host;
class PreferenceStore;
}

namespace th::app {

class ScriptEditorCommand {
public:
    // `opened` names the new window for the menu state; `closed` follows
    // its closing.
    ScriptEditorCommand(QWidget* mainWindow, toolkit::Host& host, std::function<void(QWidget*)> opened,
                        std::function<void()> closed);

    // From now on open() shows the templates of `dataFolder` and keeps the
    // preferences in `store` over `preferenceFile`.
    void enable(toolkit::PreferenceStore& store, std::string preferenceFile, std::string dataFolder);

    void open();
    bool isOpen() const;
    editor::ScriptEditorWindow* window() const;
    // Posts a click on one of the window's elements, as a menu item does.
    void post(int element);
    // Closes an open editor window, which asks about unsaved edits first;
    // false when the user keeps it open.
    bool closeWindow();

private:
    QWidget* mainWindow_;
    toolkit::Host& host_;
    std::function<void(QWidget*)> opened_;
    std::function<void()> closed_;
    toolkit::PreferenceStore* store_ = nullptr;
    std::string preferenceFile_;
    std::string dataFolder_;
    QPointer<editor::ScriptEditorWindow> window_;
};

} // namespace th::app
