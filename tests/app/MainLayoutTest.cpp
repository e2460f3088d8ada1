// Menu states the main window cannot reach on its own; the layout and the
// main and export windows' states are checked on the real windows.

#include "app/MainWindowIds.h"
#include "app/MenuState.h"

#include <gtest/gtest.h>

namespace {

using namespace th::app;

TEST(MenuState, TheScriptEditorTakesTheCanvasItemsAwayAndOtherWindowsLeaveTheMenus)
{
    const auto editor = menuStateFor(ActiveWindow::ScriptEditor, 5);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->enabled.at(kMenuSaveScript));
    EXPECT_FALSE(editor->enabled.at(kMenuOpenImageFolder));
    EXPECT_FALSE(editor->enabled.at(kMenuScriptWindow));
    EXPECT_EQ(editor->shortcuts.at(kMenuSaveScript), "Ctrl+S");
    EXPECT_EQ(editor->shortcuts.at(kMenuOpenImageFolder), "");
    EXPECT_FALSE(menuStateFor(ActiveWindow::Other, 5));
}

} // namespace
