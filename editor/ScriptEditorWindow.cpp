#include "editor/ScriptEditorWindow.h"

#include "editor/Gallery.h"
#include "toolkit/PreferenceStore.h"
#include "editor/ScriptEditorLayout.h"
#include "toolkit/Host.h"
#include "toolkit/PlainButton.h"
#include "toolkit/QtText.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

namespace th::editor {

using toolkit::plainButton;

namespace {

QString q(std::string_view text) { return toolkit::qtText(text); }


constexpr const char* kEditorGroup = "Tab ID's";
constexpr const char* kTabGroup = "Tab Selection";
constexpr const char* kTabKey = "SavedTab";
// The title of the one tab shown while the library holds no script.
const QString kPlaceholderTitle = QStringLiteral(" ");

} // namespace

ScriptEditorWindow::ScriptEditorWindow(ScriptEditorServices services, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , services_(std::move(services))
    , library_(services_.dataFolder, services_.store, services_.host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Script Editor"));
    setMinimumSize(kEditorContentWidth, kEditorContentHeight);
    resize(kEditorContentWidth, kEditorContentHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);

    buildElements();
    layoutElements();
    services_.store.open(services_.preferenceFile);
    readLibrary();
    readPreviewChoice();
    applyTheme();
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        tabChosen();
        schedulePreview();
    });
    connect(themeList_, &QComboBox::currentIndexChanged, this, [this] { onElement(kThemeList); });
}

ScriptEditorWindow::~ScriptEditorWindow()
{
    stopPreview();
    services_.store.close();
}

void ScriptEditorWindow::buildElements()
{
    tabs_ = new QTabWidget(this);
    elements_.insert(kTabPanel, tabs_);
    QPlainTextEdit* first = newEditor();
    elements_.insert(kFirstEditor, first);
    tabs_->addTab(first, kPlaceholderTitle);

    QPushButton* create = plainButton(QStringLiteral("+"), this);
    elements_.insert(kCreateButton, create);
    QPushButton* remove = plainButton(tr("Delete Script"), this);
    elements_.insert(kDeleteButton, remove);
    elements_.insert(kNameLabel, new QLabel(tr("Script Name:"), this));
    nameField_ = new QLineEdit(this);
    elements_.insert(kNameField, nameField_);
    QPushButton* save = plainButton(tr("Save Script"), this);
    elements_.insert(kSaveButton, save);
    elements_.insert(kTagsFrame, new QGroupBox(tr("Script Tags"), this));
    for (int i = 0; i < kTokenButtonCount; ++i) {
        QPushButton* button = plainButton(q(tokenOfButton(i).name), this);
        // The caret stays in the editor the token goes into.
        button->setFocusPolicy(Qt::NoFocus);
        const int number = kFirstTokenButton + i;
        connect(button, &QPushButton::clicked, this, [this, number] { onElement(number); });
        elements_.insert(number, button);
    }
    buildMenus();
    buildPreview();
    themeList_ = new QComboBox(this);
    for (const Theme& theme : kThemes)
        themeList_->addItem(q(theme.name));
    elements_.insert(kThemeList, themeList_);

    connect(create, &QPushButton::clicked, this, [this] { onElement(kCreateButton); });
    connect(remove, &QPushButton::clicked, this, [this] { onElement(kDeleteButton); });
    connect(save, &QPushButton::clicked, this, [this] { onElement(kSaveButton); });
}

void ScriptEditorWindow::buildMenus()
{
    QPushButton* moreTags = plainButton(tr("More Tags"), this);
    moreTags->setFocusPolicy(Qt::NoFocus);
    auto* tags = new QMenu(moreTags);
    for (int entry = 0; entry < kMoreTagsCount; ++entry) {
        const toolkit::TokenInfo& token = tokenOfButton(kTokenButtonCount + entry);
        connect(tags->addAction(q(token.name)), &QAction::triggered, this, [this, entry] { insertMoreTag(entry); });
    }
    moreTags->setMenu(tags);
    elements_.insert(kMoreTagsButton, moreTags);

    QPushButton* gallery = plainButton(tr("New from Gallery..."), this);
    auto* templates = new QMenu(gallery);
    templates->setToolTipsVisible(true);
    for (int entry = 0; entry < int(kGallery.size()); ++entry) {
        QAction* action = templates->addAction(q(kGallery[std::size_t(entry)].name));
        action->setToolTip(q(kGallery[std::size_t(entry)].description));
        connect(action, &QAction::triggered, this, [this, entry] { addFromGallery(entry); });
    }
    gallery->setMenu(templates);
    elements_.insert(kGalleryButton, gallery);
}

void ScriptEditorWindow::layoutElements()
{
    for (auto it = elements_.cbegin(); it != elements_.cend(); ++it) {
        if (it.key() == kFirstEditor)
            continue; // the tab panel sizes its editors
        const ElementRect r = scriptEditorRect(it.key(), width(), height(), previewToggle_ && previewShown());
        it.value()->setGeometry(r.x, r.y, r.width, r.height);
    }
}

// Colouring waits while another window is in front, so the window catches
// up when it comes back.
void ScriptEditorWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        for (int i = 0; i < tabs_->count(); ++i)
            colourTokens(*static_cast<QPlainTextEdit*>(tabs_->widget(i)));
}

void ScriptEditorWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutElements();
}

QPlainTextEdit* ScriptEditorWindow::newEditor()
{
    auto* editor = new QPlainTextEdit;
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    look_.giveLook(*editor, theme());
    connect(editor->document(), &QTextDocument::modificationChanged, this, [this, editor] { showEditedState(editor); });
    // Every keystroke in the editor being typed in recolours it.
    connect(editor, &QPlainTextEdit::textChanged, this, [this, editor] {
        if (editor->hasFocus())
            colourTokens(*editor);
        if (editor == currentEditor())
            schedulePreview();
    });
    return editor;
}

// The script name lives in the tab's data, so the title can show an edit
// mark without changing the name files and the map use.
int ScriptEditorWindow::addScriptTab(const std::string& name, QPlainTextEdit* editor)
{
    int index = tabs_->indexOf(editor);
    if (index < 0)
        index = tabs_->addTab(editor, QString());
    tabs_->tabBar()->setTabData(index, q(name));
    showEditedState(editor);
    library_.registerEditor(name, editor == elements_.value(kFirstEditor) ? kFirstEditor : nextEditorId_++);
    return index;
}

void ScriptEditorWindow::showEditedState(QPlainTextEdit* editor)
{
    const int index = tabs_->indexOf(editor);
    if (index < 0)
        return;
    const QString name = tabs_->tabBar()->tabData(index).toString();
    tabs_->setTabText(index, editor->document()->isModified() ? QLatin1Char('*') + name : name);
}

void ScriptEditorWindow::readLibrary()
{
    services_.store.selectGroup(kTabGroup);
    const std::string savedTab = services_.store.readText(kTabKey, "");
    services_.store.selectGroup("Theme");
    const int theme = services_.store.readInteger("SavedTheme", 0);

    int selected = 0;
    bool first = true;
    for (const std::string& name : library_.list()) {
        QPlainTextEdit* editor = first ? currentEditor() : newEditor();
        first = false;
        const int index = addScriptTab(name, editor);
        if (const auto lines = library_.read(name)) {
            for (const std::string& line : *lines)
                editor->appendPlainText(q(line));
        }
        editor->document()->setModified(false);
        if (name == savedTab)
            selected = index;
    }
    if (theme >= 0 && theme < themeList_->count())
        themeList_->setCurrentIndex(theme);
    tabs_->setCurrentIndex(selected);
    showFromStart(*currentEditor());
}

QPlainTextEdit* ScriptEditorWindow::currentEditor() const
{
    return static_cast<QPlainTextEdit*>(tabs_->currentWidget());
}

std::string ScriptEditorWindow::currentScript() const
{
    return tabs_->tabBar()->tabData(tabs_->currentIndex()).toString().toStdString();
}

void ScriptEditorWindow::closeEvent(QCloseEvent* event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

// Edits live only in the editors, so closing with unsaved ones asks first.
bool ScriptEditorWindow::mayClose()
{
    QStringList edited;
    for (int i = 0; i < tabs_->count(); ++i) {
        if (static_cast<QPlainTextEdit*>(tabs_->widget(i))->document()->isModified())
            edited << QLatin1Char('"') + tabs_->tabBar()->tabData(i).toString() + QLatin1Char('"');
    }
    if (edited.isEmpty())
        return true;
    return services_.host.ask("Discard Changes?", "The script window holds unsaved edits to " +
                                                      edited.join(QStringLiteral(", ")).toStdString() +
                                                      ". Close it and lose them?");
}

} // namespace th::editor
