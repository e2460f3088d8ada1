// The commands that fill and empty the canvas, with a scripted host and
// stand-in pictures, and the notice that closes an import.

#include "canvas/CanvasCommands.h"
#include "RecordingDisplay.h"
#include "testing/RecordingProgress.h"
#include "testing/ScriptedHost.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using namespace th::canvas;
using th::canvas::testing::describe;
using th::testing::writeBytes;
using Titles = std::vector<std::string>;

class CanvasCommandsTest : public ::testing::Test, protected th::canvas::testing::DisplayedCanvas {
protected:
    std::string folderOf(const std::vector<std::string>& names, const std::string& size = "10 10")
    {
        const std::string folder = home.folder() + "f" + std::to_string(++folders) + "/";
        std::filesystem::create_directories(folder);
        for (const std::string& name : names)
            writeBytes(folder + name, size);
        return folder;
    }
    void openFolder(const std::string& folder)
    {
        host.paths.push_back(folder);
        commands.openImageFolder();
    }

    th::testing::TempHome home;
    th::testing::ScriptedHost host{home.folder()};
    int folders = 0;
    th::canvas::testing::StandInPictures pictures;
    th::testing::RecordingProgress progress;
    CanvasCommands commands{editor, host, std::ref(pictures), display, &progress};
};

TEST_F(CanvasCommandsTest, AFolderFillsRowsAsWideAsTheCanvasAndNamesWhatItSkippedOrCouldNotPlace)
{
    const std::string folder = folderOf({"1.png", "2.png", "3.png", "4.png", "5.png"}, "256 100");
    writeBytes(folder + "broken.png", "not a picture");
    writeBytes(folder + "huge.png", "huge 30000 20000");
    writeBytes(folder + "upper.PNG", "256 100");
    const std::string rows = "1.png#1@0,0 256x100 2.png#2@256,0 256x100 3.png#3@512,0 256x100 ";
    for (const auto& [size, places] :
         {std::pair{1024, rows + "4.png#4@768,0 256x100 5.png#5@0,100 256x100 | current 5.png, clip 0, place 256,100"},
          {2048, rows + "4.png#4@768,0 256x100 5.png#5@1024,0 256x100 | current 5.png, clip 0, place 1280,0"}}) {
        SCOPED_TRACE(size);
        editor.perform(SetCanvasSize{.size = size});
        host.answers = {true};
        host.shown.clear();
        openFolder(folder);
        EXPECT_EQ(describe(model), places + ", active, size " + std::to_string(size));
        EXPECT_EQ(model.sprites().entries()[0].sourcePath, folder + "1.png");
        EXPECT_EQ(host.shown.back().text, "1 file could not be read as a PNG picture and was skipped: broken.png.\n"
                                          "1 file was passed over because only names ending in \".png\" are "
                                          "read: upper.PNG.\n"
                                          "\"huge.png\" declares 30000 × 20000 pixels; pictures of more than "
                                          "8192 × 8192 pixels are not read.");
    }

    // The tall a sends the next row, and b with it, below the canvas.
    const std::string tall = folderOf({"a.png"}, "2000 3000");
    writeBytes(tall + "b.png", "10 10 cut");
    host.answers = {true};
    openFolder(tall);
    EXPECT_EQ(host.shown.back().text, "1 picture ended early and was imported with blank rows: b.png.\n"
                                      "1 picture lies wholly outside the canvas; choose a larger canvas size or "
                                      "use \"Reset Columns\" to bring it in.");

    host.shown.clear();
    host.answers = {false};
    openFolder(folder);
    EXPECT_EQ(host.titles(), Titles{"Clear the Canvas?"});
    EXPECT_EQ(model.sprites().size(), 2u);

    // More of a kind: plurals, and at most ten names.
    const struct {
        ImportReport report;
        std::string notice;
    } reports[] = {
        {{.unreadable = {"x.png", "y.png"}},
         "2 files could not be read as PNG pictures and were skipped: x.png, y.png."},
        {{.incomplete = {"a.png", "b.png", "c.png", "d.png", "e.png", "f.png", "g.png", "h.png", "i.png", "j.png",
                         "k.png"}},
         "11 pictures ended early and were imported with blank rows: a.png, b.png, c.png, d.png, e.png, f.png, "
         "g.png, h.png, i.png, j.png, …."},
        {{.wrongCase = {"A.PNG", "B.Png"}, .outside = 3},
         "2 files were passed over because only names ending in \".png\" are read: A.PNG, B.Png.\n3 pictures lie "
         "wholly outside the canvas; choose a larger canvas size or use \"Reset Columns\" to bring them in."},
    };
    for (const auto& [report, notice] : reports)
        EXPECT_EQ(report.notice(), notice);
}

TEST_F(CanvasCommandsTest, NaturalOrderTakesDigitRunsAsNumbersForFoldersAndDropsOfSeveralFiles)
{
    // As dropped, and in natural order: equal numbers (a010, a10) leave the
    // bytes to decide, and the runs of x are too long for any integer.
    const std::vector<std::string> names = {
        "walk10.png", "walk2.png", "walk1.png", "a10.png", "a9.png", "a010.png", "b.png", "a2b.png", "A1.png",
        "a2a.png", "x100000000000000000000000.png", "x99999999999999999999999.png", "x7.png", "2 10.png", "2 9.png",
        "10.png"};
    const std::vector<std::string> natural = {
        "2 9.png", "2 10.png", "10.png", "A1.png", "a2a.png", "a2b.png", "a9.png", "a010.png", "a10.png", "b.png",
        "walk1.png", "walk2.png", "walk10.png", "x7.png", "x99999999999999999999999.png",
        "x100000000000000000000000.png"};
    std::vector<std::string> bytes = names;
    std::sort(bytes.begin(), bytes.end());
    std::vector<std::string> dropped;
    const std::string folder = folderOf(names);
    for (const std::string& name : names)
        dropped.push_back(folder + name);
    const auto imported = [this] {
        std::vector<std::string> byIndex(model.sprites().size());
        for (const SpriteEntry& sprite : model.sprites().entries())
            byIndex[std::size_t(sprite.index - 1)] = sprite.name;
        return byIndex;
    };
    for (const bool naturally : {false, true}) {
        SCOPED_TRACE(naturally ? "natural" : "bytes");
        commands.setNaturalOrder(naturally);
        editor.perform(ClearCanvas{});
        openFolder(folder);
        EXPECT_EQ(imported(), naturally ? natural : bytes);

        editor.perform(ClearCanvas{});
        commands.drop(dropped, 0, 0);
        EXPECT_EQ(imported(), naturally ? natural : names) << "a drop keeps its own order otherwise";
    }
}

TEST_F(CanvasCommandsTest, ACancelledImportKeepsWhatWasDecodedAndTheNextLandsAfterTheCurrentSprite)
{
    progress.stopAt = "Decoding 3 of 4";
    openFolder(folderOf({"a.png", "b.png", "c.png", "d.png"}, "40 30"));
    EXPECT_EQ(progress.steps, (std::vector<std::string>{"Decoding 1 of 4", "Decoding 2 of 4", "Decoding 3 of 4"}));
    EXPECT_EQ(progress.finishes, 1);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(host.titles(), Titles{"Select Image Folder..."}) << "a cancel is no failure to report";
    progress = {}; // the next imports run to the end

    // The next import lands after the current sprite; the top one stays current.
    const std::string ship = folderOf({"ship.png"}, "5 6") + "ship.png";
    model.selectFirst();
    host.paths = {ship, home.folder() + "missing.png"};
    commands.importImage();
    EXPECT_EQ(describe(model), "a.png#1@0,0 40x30 ship.png#3@80,0 5x6 b.png#2@40,0 40x30 "
                               "| current b.png, clip 0, place 80,0, active, size 1024");
    EXPECT_EQ(display.names.back(), "ship.png");
    EXPECT_EQ(display.positions.back(), "Image X: 80 / Y: 0");

    const std::uint64_t revision = model.revision();
    host.paths.push_back(folderOf({"huge.png"}, "huge 9000 8000") + "huge.png");
    commands.importImage();
    commands.importImage();
    EXPECT_EQ(host.shown.end()[-3].text, "\"missing.png\" could not be read as a PNG picture.");
    EXPECT_TRUE(host.shown.back().text.starts_with("\"huge.png\" declares 9000 × 8000 pixels;"));
    EXPECT_EQ(model.revision(), revision);
}

TEST_F(CanvasCommandsTest, DeleteAndNewCanvasEmptyTheCanvasOnlyAfterAskingFirst)
{
    commands.deleteImage();
    commands.newCanvas();
    EXPECT_EQ(host.titles(), (Titles{"No Images!", "No Images!"})) << "nothing asked";
    openFolder(folderOf({}));
    EXPECT_EQ(host.shown.back().title + "|" + host.shown.back().text,
              "No Images!|There are no PNG pictures in this folder.");
    EXPECT_FALSE(model.canvasActive());
    openFolder(folderOf({"junk.png"}, "not a picture"));
    ASSERT_TRUE(model.canvasActive());
    commands.deleteImage();
    EXPECT_FALSE(model.canvasActive()) << "a delete on an empty canvas ends an import that found nothing";

    openFolder(folderOf({"a.png", "b.png", "c.png"}));
    editor.perform(SetClip{.margin = 2});
    model.selectFirst();
    host.answers = {false, true};
    commands.deleteImage();
    commands.deleteImage();
    EXPECT_EQ(host.titles().back(), "Delete Image?");
    // The labels name the sprite the next Delete removes: c, on top.
    EXPECT_EQ(display.names.back(), "c.png");
    EXPECT_EQ(display.positions.back(), "Image X: 22 / Y: 0");
    EXPECT_EQ(describe(model), "b.png#1@10,0 10x10 c.png#2@20,0 10x10 | current c.png, clip 2, place 30,0, active, size 1024");

    host.answers = {true, false, true};
    commands.deleteImage();
    commands.newCanvas();
    EXPECT_EQ(model.sprites().size(), 1u) << "the new canvas was refused";
    commands.deleteImage();
    EXPECT_EQ(describe(model), "| current -, clip 0, place 0,0, inactive, size 1024");
    EXPECT_EQ(display.names.back(), " ");
    EXPECT_EQ(display.positions.back(), "Image X: 0 / Y: 0");
}

} // namespace
