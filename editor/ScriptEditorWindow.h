#pragma once
// The script editor window, "Script Editor": one tab per template with its
// editor, the name field and "+", "New from Gallery...", "Save Script",
// "Delete Script", the theme list and the column of token buttons with the
// "More Tags" menu under it. The library's rules (what may be
// created, saved or deleted, and what the user is told) are ScriptLibrary's;
// this window keeps the tabs in step with them. It keeps the preference store
// open while it is open and closes it, which writes the file, when it closes.

#include "canvas/SpriteList.h"
#include "editor/ScriptLibrary.h"
#include "editor/ThemeLook.h"
#include "export/TemplateTokens.h"

#include <QHash>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;
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

// What the preview expands the current template over: a copy of the
// canvas's sprites, and the values an export with the last choices would
// give the script.
struct PreviewSource {
    canvas::SpriteList sprites;
    exporting::ScriptInputs inputs;
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

    // Where the preview takes the canvas from, and whom it asks to select
    // the sprite of a clicked line (by the sprite's number). Without a source
    // the preview stays empty.
    void setPreviewSource(std::function<PreviewSource()> source);
    void setSpriteChooser(std::function<void(std::int64_t)> chooser);
    // How long the preview waits after the last keystroke before it runs;
    // tests take none, so they wait on the result and never on the clock.
    void setPreviewPause(std::chrono::milliseconds pause);
    // The canvas changed; a shown preview catches up.
    void canvasChanged();
    bool previewShown() const;

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
    void buildPreview();
    void readPreviewChoice();
    void showPreview(bool shown);
    // Expands the current template off this thread, a short while after the
    // last keystroke; a newer run makes an older one stop.
    void schedulePreview();
    void startPreview();
    // Stops a run under way and waits for it.
    void stopPreview();
    void previewReady(std::uint64_t run, const std::vector<std::string>& lines, std::vector<std::int64_t> passes);
    void previewLineChosen();

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

    QCheckBox* previewToggle_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QPlainTextEdit* preview_ = nullptr;
    QTimer* previewTimer_ = nullptr;
    std::function<PreviewSource()> previewSource_;
    std::function<void(std::int64_t)> chooseSprite_;
    // Per preview line, the sprite number of the pass that wrote it.
    std::vector<std::int64_t> previewPasses_;
    std::atomic<std::uint64_t> latestPreview_ = 0;
    std::jthread previewWorker_;
};

} // namespace th::editor
