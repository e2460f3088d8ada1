#pragma once
// The script editor window, "Script Editor": one tab per template with its
// editor, the name field and "+", "New from Gallery...", "Save Script",
// "Delete Script", the theme list and the column of token buttons with the
// "More Tags" menu under it. The library's rules (what may be
// created, saved or deleted, and what the user is told) are ScriptLibrary's;
// this window keeps the tabs in step with them. It keeps the preference store
// open while it is open and closes it, which writes the file, when it closes.

#include "editor/ScriptLibrary.h"
#include "editor/ThemeLook.h"

#include <QHash>
#include <QWidget>

#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace th::toolkit {
class Host;
class PreferenceStore;
}

namespace th::editor {

struct ScriptEditorServices {
    toolkit::PreferenceStore& store;
    std::string preferenceFile;
    // Ends in "/"; the templates are its "*.txt" files.
    std::string dataFolder;
    toolkit::Host& host;
};

class ScriptEditorWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScriptEditorWindow(ScriptEditorServices services, QWidget* parent = nullptr);
    ~ScriptEditorWindow() override;

    // Elements by number (ScriptEditorLayout.h); the first editor is 101.
    QWidget* element(int number) const { return elements_.value(number); }
    QPlainTextEdit* currentEditor() const;
    // The selected tab's script name; empty for the placeholder tab shown
    // when the library holds no script.
    std::string currentScript() const;

    // A click on "+", "Delete Script", "Save Script" or a token button, and
    // a choice in the theme list.
    void onElement(int number);
    // A choice in the "More Tags" menu: the table's token after the buttons'.
    void insertMoreTag(int entry);
    // A choice in the "New from Gallery..." menu: the gallery's entry, added
    // under the name in the name field, or the entry's own when it is empty,
    // once the user confirms it.
    void addFromGallery(int entry);

signals:
    // The window closed; it is deleted right after.
    void closed();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildElements();
    void layoutElements();
    void readLibrary();
    QPlainTextEdit* newEditor();
    int addScriptTab(const std::string& name, QPlainTextEdit* editor);
    void buildMenus();
    void showEditedState(QPlainTextEdit* editor);
    void createScript();
    void saveScript();
    void deleteScript();
    void insertToken(int button);
    void themeChosen();
    int theme() const;
    // Gives every editor the chosen theme's look and colours it.
    void applyTheme();
    // Recolours the editor, but only while this window is the active one.
    void colourTokens(QPlainTextEdit& editor);
    void tabChosen();
    static void showFromStart(QPlainTextEdit& editor);
    bool mayClose();

    // Editors after the first are numbered on from the last element.
    static constexpr int kFirstEditorIdAfterElements = 125;

    ScriptEditorServices services_;
    ScriptLibrary library_;
    ThemeLook look_;
    QHash<int, QWidget*> elements_;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QComboBox* themeList_ = nullptr;
    int nextEditorId_ = kFirstEditorIdAfterElements;
};

} // namespace th::editor
