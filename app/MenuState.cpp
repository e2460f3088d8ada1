#include "app/MenuState.h"

#include "app/MainWindowIds.h"

namespace th::app {

namespace {

struct ShortcutRule {
    int menu;
    const char* keys;
    std::size_t minimumSprites; // present on the main window from this count
};

// The main window's shortcuts and the sprite count each one needs.
constexpr ShortcutRule kMainShortcuts[] = {
    {kMenuNewCanvas, "Ctrl+N", 1},       {kMenuOpenImageFolder, "Ctrl+O", 0},
    {kMenuImportImage, "Ctrl+I", 0},     {kMenuDeleteImage, "Backspace", 1},
    {kMenuExportSheet, "Ctrl+Shift+S", 1}, {kMenuResetColumns, "Ctrl+R", 3},
    {kMenuClipAlpha, "-", 1},            {kMenuExpandClip, "+", 1},
    // Ctrl+S is "Save Script" while the script editor is active; here it is
    // "Save Project". "Save Project As…" has no key: the standard
    // Ctrl+Shift+S exports the sheet.
    {kMenuOpenProject, "Ctrl+Shift+O", 0}, {kMenuSaveProject, "Ctrl+S", 1},
    {kMenuSaveProjectAs, "", 1},
};

} // namespace

std::optional<MenuState> menuStateFor(ActiveWindow active, std::size_t spriteCount)
{
    if (active == ActiveWindow::About || active == ActiveWindow::Help || active == ActiveWindow::Other)
        return std::nullopt;

    // Everything starts disabled and without its shortcut; each active
    // window then gives back what it allows.
    MenuState state;
    for (const ShortcutRule& rule : kMainShortcuts) {
        state.enabled[rule.menu] = false;
        state.shortcuts[rule.menu] = "";
    }
    for (int item : {kMenuSaveScript, kMenuDeleteScript, kMenuScriptWindow})
        state.enabled[item] = false;
    state.shortcuts[kMenuSaveScript] = "";

    switch (active) {
    case ActiveWindow::Main:
        for (const ShortcutRule& rule : kMainShortcuts) {
            if (spriteCount >= rule.minimumSprites) {
                state.enabled[rule.menu] = true;
                state.shortcuts[rule.menu] = rule.keys;
            }
        }
        state.enabled[kMenuScriptWindow] = true;
        break;
    case ActiveWindow::ScriptEditor:
        state.enabled[kMenuSaveScript] = true;
        state.enabled[kMenuDeleteScript] = true;
        state.shortcuts[kMenuSaveScript] = "Ctrl+S";
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
