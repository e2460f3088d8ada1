// The export's decisions that the window cannot show on its own: the
// refusal of an empty used area and the notices for files that failed.

#include "SheetFile.h"

#include "export/ExportRun.h"
#include "image/PngEncoder.h"
#include "testing/ScriptedHost.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

namespace {

using namespace th::exporting;
using namespace th::exporting::testing;
using th::testing::ScriptedHost;
using th::testing::TempHome;

class ExportRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        images.registerEncoder(std::make_unique<th::image::PngEncoder>());
        model.addSprite({.image = makePicture(images, 20, 10, [](int, int) { return Rgba{9, 9, 9, 255}; }),
                         .width = 20, .height = 10, .name = "walk01.png"});
        model.measureUsedArea();
        choices.sheetPath = (home.path() / "sheet.png").string();
    }
    void moveSpriteTo(int x, int y)
    {
        model.sprites.first()->x = x;
        model.sprites.first()->y = y;
        model.measureUsedArea();
    }
    ExportOutcome run() { return runExport(choices, model, images, host); }

    TempHome home;
    ScriptedHost host{home.folder()};
    th::image::ImageStore images;
    th::canvas::CanvasModel model{[this](int image) { images.free(image); }};
    ExportChoices choices;
};

TEST_F(ExportRun, AnEmptyUsedAreaIsRefusedBeforeAnythingIsWritten)
{
    moveSpriteTo(-30, 4);
    for (bool powerOfTwo : {false, true}) {
        choices.powerOfTwo = powerOfTwo;
        const ExportOutcome outcome = run();
        EXPECT_FALSE(outcome.completed);
        EXPECT_EQ(outcome.notice.title, "Wait!");
        EXPECT_EQ(outcome.notice.text, "No image reaches into the canvas, so the sprite sheet would be empty.");
        EXPECT_FALSE(std::filesystem::exists(choices.sheetPath));
    }
}

TEST_F(ExportRun, ASheetTooLargeToMakeIsReported)
{
    moveSpriteTo(40000, 0);
    const ExportOutcome outcome = run();
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.notice.title, "Not Saved!");
    EXPECT_EQ(outcome.notice.text, "A sprite sheet of 40020 x 10 pixels could not be made.");
}

TEST_F(ExportRun, AScriptThatFailsIsReportedAfterTheSheetWasSaved)
{
    const std::string missing = home.folder() + "gone.txt";
    choices.templateFile = missing;
    choices.scriptPath = home.folder() + "out.txt";
    ExportOutcome outcome = run();
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.notice.title, "Not Saved!");
    EXPECT_EQ(outcome.notice.text, "The sprite sheet was saved, but the script template " + missing +
                                       " could not be read because it no longer exists.");
    EXPECT_TRUE(std::filesystem::exists(choices.sheetPath));
    EXPECT_FALSE(std::filesystem::exists(choices.scriptPath));

    th::testing::writeBytes(home.path() / "t.txt", "th.Extension = \".txt\"\nth.ImageName\n");
    choices.templateFile = home.path() / "t.txt";
    choices.scriptPath = home.folder() + "missing-folder/out.txt";
    outcome = run();
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.notice.text, "The sprite sheet was saved, but the script could not be saved as " +
                                       choices.scriptPath + " because the folder " + home.folder() +
                                       "missing-folder does not exist.");
    EXPECT_TRUE(host.shown.empty()) << "the window shows the notice";
}

} // namespace
