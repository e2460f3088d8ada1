// The menu state for each active window and sprite count: which items are
// enabled, and a key answers to at most one enabled item at a time while
// every item keeps showing its key. The windows' tests only see it applied.

#include "app/MainWindowIds.h"
#include "app/MenuState.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace th::app;

TEST(MenuState, EveryKeyHasOneItemAtATimeAndCtrlSFollowsTheActiveWindow)
{
    const struct {
        ActiveWindow active;
        std::size_t sprites;
        int ctrlS;        // the item that carries Ctrl+S, or 0
        bool canvasItems; // New Canvas, Delete, Export, Clip Alpha
        bool columns;     // Reset Columns
    } rows[] = {
        {ActiveWindow::Main, 0, 0, false, false},
        {ActiveWindow::Main, 1, kMenuSaveProject, true, false},
        {ActiveWindow::Main, 3, kMenuSaveProject, true, true},
        {ActiveWindow::ScriptEditor, 0, kMenuSaveScript, false, false},
        {ActiveWindow::ScriptEditor, 3, kMenuSaveScript, false, false},
        {ActiveWindow::Export, 3, 0, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(int(row.active)) + " with " + std::to_string(row.sprites));
        const MenuState state = *menuStateFor(row.active, row.sprites);
        std::map<std::string, int> owners;
        for (const auto& [item, keys] : state.shortcuts) {
            if (keys.empty() || !state.enabled.at(item))
                continue;
            EXPECT_TRUE(owners.emplace(keys, item).second) << keys << " on " << item << " and " << owners[keys];
        }
        EXPECT_EQ(state.shortcuts.at(kMenuNewCanvas), "Ctrl+N") << "the hint stays on a disabled item";
        EXPECT_EQ(state.enabled.at(kMenuOpenImageFolder), row.active == ActiveWindow::Main);
        EXPECT_EQ(state.enabled.at(kMenuScriptWindow), row.active == ActiveWindow::Main);
        for (int item : {kMenuNewCanvas, kMenuDeleteImage, kMenuExportSheet, kMenuClipAlpha})
            EXPECT_EQ(state.enabled.at(item), row.canvasItems) << item;
        EXPECT_EQ(state.enabled.at(kMenuResetColumns), row.columns);
        EXPECT_EQ(owners.contains("Ctrl+S") ? owners["Ctrl+S"] : 0, row.ctrlS);
        EXPECT_EQ(owners.contains("Ctrl+Shift+O"), row.active == ActiveWindow::Main);
        // Over the export window every item the state lists rests.
        if (row.active == ActiveWindow::Export) {
            EXPECT_EQ(std::count_if(state.enabled.begin(), state.enabled.end(), [](auto& e) { return e.second; }), 0);
        }
    }
    for (ActiveWindow resting : {ActiveWindow::About, ActiveWindow::Help, ActiveWindow::Other})
        EXPECT_FALSE(menuStateFor(resting, 5)) << "the menus stay as they were";
}

} // namespace
