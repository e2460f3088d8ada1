// The script editor window's dispatch: every element by its number, and
// what each command does to the tabs once the library has had its say.

#include "editor/ScriptEditorWindow.h"

#include "editor/Gallery.h"
#include "toolkit/PreferenceStore.h"
#include "editor/ScriptEditorLayout.h"
#include "editor/Themes.h"
#include "editor/TokenColouring.h"
#include "toolkit/Host.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>

// Resources built into a static library must be registered by hand.
static void registerGalleryResources()
{
    Q_INIT_RESOURCE(gallery);
}

namespace th::editor {

void ScriptEditorWindow::onElement(int number)
{
    if (number >= kFirstTokenButton && number < kFirstTokenButton + kTokenButtonCount) {
        insertToken(number - kFirstTokenButton);
        return;
    }
    switch (number) {
    case kCreateButton: createScript(); break;
    case kSaveButton: saveScript(); break;
    case kDeleteButton: deleteScript(); break;
    case kThemeList: themeChosen(); break;
    default: break;
    }
}

void ScriptEditorWindow::createScript()
{
    const std::string name = nameField_->text().toStdString();
    if (!library_.create(name))
        return;
    QPlainTextEdit* editor = newEditor(); // with the chosen theme's look
    tabs_->setCurrentIndex(addScriptTab(name, editor));
    nameField_->clear();
    editor->setFocus();
}

void ScriptEditorWindow::saveScript()
{
    const std::string name = currentScript();
    QPlainTextEdit* editor = currentEditor();
    if (name.empty()) {
        // The placeholder tab has no file: ask for a name, as "+" does.
        nameField_->setFocus();
        static_cast<void>(library_.create(name));
        return;
    }
    std::vector<std::string> lines;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toStdString());
    if (library_.save(name, lines))
        editor->document()->setModified(false);
}

void ScriptEditorWindow::deleteScript()
{
    if (!library_.remove(currentScript(), tabs_->count()))
        return;
    QWidget* editor = tabs_->currentWidget();
    tabs_->removeTab(tabs_->currentIndex());
    if (editor == elements_.value(kFirstEditor))
        elements_.remove(kFirstEditor);
    editor->deleteLater();
}

// Goes where the caret is: the focused editor, or the name field, else the
// selected tab's editor; it replaces the selection as typing would.
void ScriptEditorWindow::insertToken(int button)
{
    const QString text = QString::fromUtf8(tokenOfButton(button).inserted.data(),
                                           qsizetype(tokenOfButton(button).inserted.size()));
    QWidget* focused = QApplication::focusWidget();
    if (focused == nameField_) {
        nameField_->insert(text);
        return;
    }
    auto* editor = qobject_cast<QPlainTextEdit*>(focused);
    if (!editor || tabs_->indexOf(editor) < 0)
        editor = currentEditor();
    editor->insertPlainText(text);
}

void ScriptEditorWindow::insertMoreTag(int entry)
{
    insertToken(kTokenButtonCount + entry);
}

void ScriptEditorWindow::addFromGallery(int entry)
{
    const GalleryTemplate& chosen = kGallery[std::size_t(entry)];
    const std::string typed = nameField_->text().toStdString();
    const std::string name = typed.empty() ? std::string(chosen.name) : typed;
    if (!services_.host.ask("New from Gallery", "Add the gallery's \"" + std::string(chosen.name) +
                                                    "\" template to your scripts as \"" + name +
                                                    "\"? For another name, answer No, type it as the script name "
                                                    "and choose the template again."))
        return;
    registerGalleryResources();
    QFile resource(QString::fromUtf8(kGalleryResourceFolder.data(), qsizetype(kGalleryResourceFolder.size())) +
                   QString::fromUtf8(chosen.file.data(), qsizetype(chosen.file.size())));
    if (!resource.open(QIODevice::ReadOnly))
        return; // built into the program, so always there
    const QString text = QString::fromUtf8(resource.readAll()).chopped(1); // the last line's end
    std::vector<std::string> lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    if (!library_.add(name, lines))
        return;

    // The script's own tab shows the new text; the placeholder tab becomes
    // the script's; otherwise a new tab opens.
    int index = -1;
    for (int i = 0; i < tabs_->count() && index < 0; ++i)
        if (tabs_->tabBar()->tabData(i).toString().toStdString() == name)
            index = i;
    QPlainTextEdit* editor = index >= 0 ? static_cast<QPlainTextEdit*>(tabs_->widget(index))
                             : currentScript().empty() ? currentEditor()
                                                       : newEditor();
    editor->setPlainText(text);
    editor->document()->setModified(false);
    tabs_->setCurrentIndex(index >= 0 ? index : addScriptTab(name, editor));
    nameField_->clear();
    colourTokens(*editor);
}

void ScriptEditorWindow::themeChosen()
{
    currentEditor()->setFocus();
    services_.store.selectGroup("Theme");
    services_.store.writeInteger("SavedTheme", theme());
    applyTheme();
}

int ScriptEditorWindow::theme() const
{
    return themeList_ ? themeList_->currentIndex() : 0;
}

void ScriptEditorWindow::applyTheme()
{
    for (int i = 0; i < tabs_->count(); ++i) {
        auto& editor = *static_cast<QPlainTextEdit*>(tabs_->widget(i));
        look_.giveLook(editor, theme());
        colourTokens(editor);
    }
}

void ScriptEditorWindow::colourTokens(QPlainTextEdit& editor)
{
    if (isActiveWindow())
        TokenColouring::of(editor).recolour(themeOf(theme()));
}

// Filling an editor leaves its caret, and so its view, at the end of the
// last line; a tab opens on the start of its text instead.
void ScriptEditorWindow::tabChosen()
{
    showFromStart(*currentEditor());
    services_.store.selectGroup("Tab Selection");
    services_.store.writeText("SavedTab", currentScript());
}

void ScriptEditorWindow::showFromStart(QPlainTextEdit& editor)
{
    editor.moveCursor(QTextCursor::Start);
    editor.horizontalScrollBar()->setValue(0);
    editor.verticalScrollBar()->setValue(0);
}

} // namespace th::editor
