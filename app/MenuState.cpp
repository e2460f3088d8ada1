#include "app/MenuState.h"

#include "app/MainWindowIds.h"

namespace th::app {

namespace {

struct ShortcutRule {
    int menu;
    const char* keys;
    std::size_t minimumSprites; // present on the main window from this count
};

// The main window's items, their shortcuts ("" for none) and the sprite
// count each one needs to be enabled; Undo and Redo also need a step to take.
constexpr ShortcutRule kMainShortcuts[] = {
    {kMenuNewCanvas, "Ctrl+N", 1},       {kMenuOpenImageFolder, "Ctrl+O", 0},
    {kMenuImportImage, "Ctrl+I", 0},     {kMenuDeleteImage, "Backspace", 1},
    {kMenuExportSheet, "Ctrl+Shift+S", 1}, {kMenuResetColumns, "Ctrl+R", 3},
    {kMenuPackTightly, "Ctrl+P", 1},
    {kMenuClipAlpha, "-", 1},            {kMenuExpandClip, "+", 1},
    // Ctrl+S is "Save Script" while the script editor is active; here it is
    // "Save Project". "Save Project As…" has no key: the standard
    // Ctrl+Shift+S exports the sheet.
    {kMenuOpenProject, "Ctrl+Shift+O", 0}, {kMenuSaveProject, "Ctrl+S", 1},
    {kMenuSaveProjectAs, "", 1},
    {kMenuUndo, "Ctrl+Z", 0},            {kMenuRedo, "Ctrl+Shift+Z|Ctrl+Y", 0},
    {kMenuZoomIn, "Ctrl+=|Ctrl++", 0},   {kMenuZoomOut, "Ctrl+-", 0},
    {kMenuZoom25, "", 0},                {kMenuZoom50, "", 0},
    {kMenuZoom100, "Ctrl+0", 0},         {kMenuZoom200, "", 0},
    {kMenuZoom400, "", 0},               {kMenuZoomFit, "", 0},
};

std::string stepText(const char* verb, const std::string& step)
{
    return step.empty() ? verb : std::string(verb) + " " + step;
}

} // namespace

std::optional<MenuState> menuStateFor(ActiveWindow active, std::size_t spriteCount, const UndoSteps& steps)
{
    if (active == ActiveWindow::About || active == ActiveWindow::Help || active == ActiveWindow::Other)
        return std::nullopt;

    // Every item keeps showing its key, as desktop menus do; a disabled item
    // does not answer it. Everything starts disabled; each active window then
    // enables what it allows.
    MenuState state;
    for (const ShortcutRule& rule : kMainShortcuts) {
        state.enabled[rule.menu] = false;
        state.shortcuts[rule.menu] = rule.keys;
    }
    for (int item : {kMenuSaveScript, kMenuDeleteScript, kMenuScriptWindow})
        state.enabled[item] = false;
    state.shortcuts[kMenuSaveScript] = "Ctrl+S";
    state.texts[kMenuUndo] = stepText("Undo", steps.undo);
    state.texts[kMenuRedo] = stepText("Redo", steps.redo);

    switch (active) {
    case ActiveWindow::Main:
        for (const ShortcutRule& rule : kMainShortcuts)
            state.enabled[rule.menu] = spriteCount >= rule.minimumSprites;
        state.enabled[kMenuScriptWindow] = true;
        state.enabled[kMenuUndo] = !steps.undo.empty();
        state.enabled[kMenuRedo] = !steps.redo.empty();
        break;
    case ActiveWindow::ScriptEditor:
        state.enabled[kMenuSaveScript] = true;
        state.enabled[kMenuDeleteScript] = true;
        break;
    case ActiveWindow::Export:
    case ActiveWindow::About:
    case ActiveWindow::Help:
    case ActiveWindow::Other:
        break;
    }
    return state;
}

} // namespace th::app
