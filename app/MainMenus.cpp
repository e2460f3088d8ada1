#include "app/MainMenus.h"

#include "app/MainWindowIds.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace th::app {

namespace {

struct MenuItem {
    const char* menu;
    int id;
    const char* text;
    bool separatorAfter;
    bool startsEnabled;
    QAction::MenuRole role;
};

// In menu order; Quit stays last in its menu, as desktops put it. Shortcuts
// are set by the menu state, which also shows them the desktop's own way; the
// texts carry none. On a Mac the About and Quit roles move those two items
// into the application menu.
constexpr MenuItem kMenuItems[] = {
    {"File", kMenuNewCanvas, "New Canvas", true, false, QAction::NoRole},
    {"File", kMenuOpenImageFolder, "Open Image Folder", false, true, QAction::NoRole},
    {"File", kMenuImportImage, "Import Image", false, true, QAction::NoRole},
    {"File", kMenuDeleteImage, "Delete Image", true, false, QAction::NoRole},
    {"File", kMenuExportSheet, "Export Sprite Sheet", true, false, QAction::NoRole},
    {"File", kMenuOpenProject, "Open Project…", false, true, QAction::NoRole},
    {"File", kMenuSaveProject, "Save Project", false, false, QAction::NoRole},
    {"File", kMenuSaveProjectAs, "Save Project As…", true, false, QAction::NoRole},
    {"File", kMenuQuit, "Quit", false, true, QAction::QuitRole},
    {"Edit", kMenuResetColumns, "Reset Columns", false, false, QAction::NoRole},
    {"Edit", kMenuPackTightly, "Pack Tightly", false, false, QAction::NoRole},
    {"Edit", kMenuPackMayTurn, "Pack May Turn Sprites", false, true, QAction::NoRole},
    {"Edit", kMenuPackGap, "Gap", true, true, QAction::NoRole},
    {"Edit", kMenuClipAlpha, "Clip Alpha Image", false, false, QAction::NoRole},
    {"Edit", kMenuExpandClip, "Expand Alpha Clip", true, false, QAction::NoRole},
    {"Edit", kMenuUndo, "Undo", false, false, QAction::NoRole},
    {"Edit", kMenuRedo, "Redo", true, false, QAction::NoRole},
    {"Edit", kMenuNaturalOrder, "Import in Natural Order", false, true, QAction::NoRole},
    {"View", kMenuZoomIn, "Zoom In", false, true, QAction::NoRole},
    {"View", kMenuZoomOut, "Zoom Out", true, true, QAction::NoRole},
    {"View", kMenuZoom25, "25 %", false, true, QAction::NoRole},
    {"View", kMenuZoom50, "50 %", false, true, QAction::NoRole},
    {"View", kMenuZoom100, "100 %", false, true, QAction::NoRole},
    {"View", kMenuZoom200, "200 %", false, true, QAction::NoRole},
    {"View", kMenuZoom400, "400 %", true, true, QAction::NoRole},
    {"View", kMenuZoomFit, "Fit", false, true, QAction::NoRole},
    {"Script", kMenuSaveScript, "Save Script", false, true, QAction::NoRole},
    {"Script", kMenuDeleteScript, "Delete Script", true, true, QAction::NoRole},
    {"Script", kMenuScriptWindow, "Script Window", false, true, QAction::NoRole},
    {"Help", kMenuHelp, "Help", true, true, QAction::NoRole},
    {"Help", kMenuAbout, "About Tile Heron", false, true, QAction::AboutRole},
};

QKeySequence keySequence(const QString& keys)
{
    if (keys == QLatin1String("+"))
        return QKeySequence(Qt::Key_Plus);
    if (keys == QLatin1String("-"))
        return QKeySequence(Qt::Key_Minus);
    return QKeySequence(keys);
}

// One item may carry several keys, written "Ctrl+Shift+Z|Ctrl+Y".
QList<QKeySequence> keySequences(const std::string& keys)
{
    QList<QKeySequence> sequences;
    for (const QString& one : QString::fromStdString(keys).split(QLatin1Char('|'), Qt::SkipEmptyParts))
        sequences << keySequence(one);
    return sequences;
}

} // namespace

QHash<int, QAction*> buildMainMenus(QMenuBar* bar, QObject* owner)
{
    QHash<int, QAction*> actions;
    QMenu* menu = nullptr;
    QString menuTitle;
    for (const MenuItem& item : kMenuItems) {
        if (!menu || menuTitle != QLatin1String(item.menu)) {
            menuTitle = QLatin1String(item.menu);
            menu = bar->addMenu(QObject::tr(item.menu));
        }
        auto* action = new QAction(QObject::tr(item.text), owner);
        action->setData(item.id);
        action->setEnabled(item.startsEnabled);
        action->setMenuRole(item.role);
        menu->addAction(action);
        if (item.separatorAfter)
            menu->addSeparator();
        actions.insert(item.id, action);
    }
    // The packing choices: one that is on or off, and the gap's pixel
    // counts as a submenu of which one is chosen.
    actions[kMenuPackMayTurn]->setCheckable(true);
    auto* gapMenu = new QMenu(bar);
    auto* gaps = new QActionGroup(gapMenu);
    for (int id = kMenuPackGapFirst; id <= kMenuPackGapLast; ++id) {
        auto* action = gapMenu->addAction(QObject::tr("%1 px").arg(id - kMenuPackGapFirst));
        action->setData(id);
        action->setCheckable(true);
        gaps->addAction(action);
        actions.insert(id, action);
    }
    actions[kMenuPackGap]->setMenu(gapMenu);

    // Fixed shortcuts that no state changes. Quit and Help are never
    // disabled, so their keys work whichever of the program's windows is in
    // front; "Save Script" is enabled only while the script editor is, where
    // its key must reach it. The canvas items' keys stay with the main
    // window, so a "-" typed into a file panel clips nothing.
    actions[kMenuNaturalOrder]->setCheckable(true);
    actions[kMenuQuit]->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    actions[kMenuHelp]->setShortcut(QKeySequence(Qt::Key_F1));
    for (int id : {kMenuQuit, kMenuHelp, kMenuSaveScript})
        actions[id]->setShortcutContext(Qt::ApplicationShortcut);
    return actions;
}

void applyMenuState(const MenuState& state, const QHash<int, QAction*>& actions)
{
    for (const auto& [id, enabled] : state.enabled)
        if (QAction* action = actions.value(id))
            action->setEnabled(enabled);
    for (const auto& [id, keys] : state.shortcuts)
        if (QAction* action = actions.value(id))
            action->setShortcuts(keySequences(keys));
    for (const auto& [id, text] : state.texts)
        if (QAction* action = actions.value(id))
            action->setText(QObject::tr(text.c_str()));
}

} // namespace th::app
