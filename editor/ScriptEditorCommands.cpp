// The script editor window's dispatch: every element by its number, and
// what each command does to the tabs once the library has had its say.

#include "editor/ScriptEditorWindow.h"

#include "toolkit/PreferenceStore.h"
#include "editor/ScriptEditorLayout.h"
#include "editor/Themes.h"
#include "editor/TokenColouring.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>

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
