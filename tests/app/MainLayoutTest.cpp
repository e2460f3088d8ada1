#include "app/MainLayout.h"
#include "app/MainWindowIds.h"
#include "app/MenuState.h"

#include <gtest/gtest.h>

namespace {

using namespace th::app;

TEST(MainLayout, GadgetsAtTheMinimumSize)
{
    const int W = 1039, H = 544;
    EXPECT_EQ(mainGadgetRect(kScrollAreaGadget, W, H), (GadgetRect{0, 32, 1039, 512}));
    EXPECT_EQ(mainGadgetRect(kCanvasSizeLabel, W, H), (GadgetRect{864, 8, 80, 25}));
    EXPECT_EQ(mainGadgetRect(kCanvasSizeSelector, W, H), (GadgetRect{934, 3, 100, 25}));
    EXPECT_EQ(mainGadgetRect(kPositionLabel, W, H), (GadgetRect{419, 8, 200, 25}));
    // R = 619: (1039 - 180 - 619) / 2 - 65 + 619 = 674; (1039 - 145 - 619) / 2 = 137.
    EXPECT_EQ(mainGadgetRect(kSnapSwitch, W, H), (GadgetRect{674, 8, 16, 15}));
    EXPECT_EQ(mainGadgetRect(kSnapLabel, W, H), (GadgetRect{691, 8, 85, 25}));
    EXPECT_EQ(mainGadgetRect(kNameLabel, W, H), (GadgetRect{240, 8, 199, 25}));
    EXPECT_EQ(mainGadgetRect(kExportButton, W, H), (GadgetRect{212, 4, 24, 24}));
}

TEST(MainLayout, OddWidthsDropTheFraction)
{
    // W = 1401: W / 2 = 700, R = 800; (1401 - 180 - 800) / 2 = 210.
    EXPECT_EQ(mainGadgetRect(kPositionLabel, 1401, 700).x, 600);
    EXPECT_EQ(mainGadgetRect(kSnapSwitch, 1401, 700).x, 945);
    EXPECT_EQ(mainGadgetRect(kScrollAreaGadget, 1401, 700).height, 668);
}

TEST(MainLayout, CanvasIsCentredOnlyWithRoomForAScrollBar)
{
    EXPECT_EQ(canvasOffset(1024, 1300), 138);
    EXPECT_EQ(canvasOffset(1024, 1400), 188);
    EXPECT_EQ(canvasOffset(1024, 1039), 0);
    EXPECT_EQ(canvasOffset(1024, 1040), 8);
    EXPECT_EQ(canvasOffset(2048, 1400), 0);
}

TEST(MenuState, MainWindowItemsFollowTheSpriteCount)
{
    const auto none = menuStateFor(ActiveWindow::Main, 0);
    ASSERT_TRUE(none);
    for (int id : {kMenuNewCanvas, kMenuDeleteImage, kMenuExportSheet, kMenuResetColumns, kMenuClipAlpha, kMenuExpandClip})
        EXPECT_FALSE(none->enabled.at(id)) << id;
    EXPECT_TRUE(none->enabled.at(kMenuOpenImageFolder));
    EXPECT_TRUE(none->enabled.at(kMenuScriptWindow));
    EXPECT_EQ(none->shortcuts.at(kMenuNewCanvas), "");
    EXPECT_EQ(none->shortcuts.at(kMenuOpenImageFolder), "Ctrl+O");

    const auto two = menuStateFor(ActiveWindow::Main, 2);
    EXPECT_TRUE(two->enabled.at(kMenuDeleteImage));
    EXPECT_FALSE(two->enabled.at(kMenuResetColumns));
    EXPECT_EQ(two->shortcuts.at(kMenuResetColumns), "");
    EXPECT_EQ(two->shortcuts.at(kMenuDeleteImage), "Backspace");
    EXPECT_EQ(two->shortcuts.at(kMenuClipAlpha), "-");
    EXPECT_EQ(two->shortcuts.at(kMenuSaveScript), "");

    const auto three = menuStateFor(ActiveWindow::Main, 3);
    EXPECT_TRUE(three->enabled.at(kMenuResetColumns));
    EXPECT_EQ(three->shortcuts.at(kMenuResetColumns), "Ctrl+R");
}

TEST(MenuState, OtherWindowsTakeTheCanvasItemsAway)
{
    const auto editor = menuStateFor(ActiveWindow::ScriptEditor, 5);
    EXPECT_TRUE(editor->enabled.at(kMenuSaveScript));
    EXPECT_FALSE(editor->enabled.at(kMenuOpenImageFolder));
    EXPECT_FALSE(editor->enabled.at(kMenuScriptWindow));
    EXPECT_EQ(editor->shortcuts.at(kMenuSaveScript), "Ctrl+S");
    EXPECT_EQ(editor->shortcuts.at(kMenuOpenImageFolder), "");

    const auto exporting = menuStateFor(ActiveWindow::Export, 5);
    for (const auto& [id, enabled] : exporting->enabled)
        EXPECT_FALSE(enabled) << id;
    for (const auto& [id, keys] : exporting->shortcuts)
        EXPECT_EQ(keys, "") << id;

    EXPECT_FALSE(menuStateFor(ActiveWindow::Other, 5));
}

} // namespace
