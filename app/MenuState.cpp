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
};

constexpr int kCanvasItems[] = {kMenuNewCanvas,    kMenuOpenImageFolder, kMenuImportImage,
                                kMenuDeleteImage,  kMenuExportSheet,     kMenuResetColumns,
                                kMenuClipAlpha,    kMenuExpandClip};

} // namespace

std::optional<MenuState> menuStateFor(ActiveWindow active, std::size_t spriteCount)
{
    if (active == ActiveWindow::Other)
        return std::nullopt;

    MenuState state;
    for (const ShortcutRule& rule : kMainShortcuts)
        state.shortcuts[rule.menu] = "";
    state.shortcuts[kMenuSaveScript] = "";

    switch (active) {
    case ActiveWindow::Main:
        for (const ShortcutRule& rule : kMainShortcuts) {
            const bool present = spriteCount >= rule.minimumSprites;
            state.enabled[rule.menu] = present;
            if (present)
                state.shortcuts[rule.menu] = rule.keys;
        }
        state.enabled[kMenuSaveScript] = false;
        state.enabled[kMenuDeleteScript] = false;
        state.enabled[kMenuScriptWindow] = true;
        break;
    case ActiveWindow::ScriptEditor:
        for (int item : kCanvasItems)
            state.enabled[item] = false;
        state.enabled[kMenuScriptWindow] = false;
        state.enabled[kMenuSaveScript] = true;
        state.enabled[kMenuDeleteScript] = true;
        state.shortcuts[kMenuSaveScript] = "Ctrl+S";
        break;
    case ActiveWindow::Export:
        for (int item : kCanvasItems)
            state.enabled[item] = false;
        state.enabled[kMenuSaveScript] = false;
        state.enabled[kMenuDeleteScript] = false;
        state.enabled[kMenuScriptWindow] = false;
        break;
    case ActiveWindow::Other:
        break;
    }
    return state;
}

} // namespace th::app
