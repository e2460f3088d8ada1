// The menu-state table's one rule no single window's test can see: a key
// answers to at most one enabled item at a time, whichever window is active,
// while every item keeps showing its key.

#include "app/MainWindowIds.h"
#include "app/MenuState.h"

#include <gtest/gtest.h>

namespace {

using namespace th::app;

TEST(MenuState, EveryKeyHasOneItemAtATimeAndCtrlSFollowsTheActiveWindow)
{
    const struct {
        ActiveWindow active;
        std::size_t sprites;
        int ctrlS; // the item that carries Ctrl+S, or 0
    } rows[] = {
        {ActiveWindow::Main, 0, 0},
        {ActiveWindow::Main, 1, kMenuSaveProject},
        {ActiveWindow::Main, 3, kMenuSaveProject},
        {ActiveWindow::ScriptEditor, 0, kMenuSaveScript},
        {ActiveWindow::ScriptEditor, 3, kMenuSaveScript},
        {ActiveWindow::Export, 3, 0},
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
        EXPECT_EQ(owners.contains("Ctrl+S") ? owners["Ctrl+S"] : 0, row.ctrlS);
        EXPECT_EQ(owners.contains("Ctrl+Shift+O"), row.active == ActiveWindow::Main);
    }
    for (ActiveWindow resting : {ActiveWindow::About, ActiveWindow::Help, ActiveWindow::Other})
        EXPECT_FALSE(menuStateFor(resting, 5)) << "the menus stay as they were";
}

} // namespace
