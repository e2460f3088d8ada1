// The sheet from sprites to file: its size, the composition pixel by pixel,
// what each kind of depth does to it read back with libpng, and the export's
// refusals, notices and progress.

#include "canvas/CanvasEdit.h"
#include "export/EdgeExtrusion.h"
#include "export/ExportRun.h"
#include "export/SheetComposer.h"
#include "export/SheetPixels.h"
#include "export/SheetSave.h"
#include "export/SheetSize.h"
#include "image/PngEncoder.h"
#include "testing/PngFile.h"
#include "testing/RecordingProgress.h"
#include "testing/ScriptedHost.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <zlib.h>

namespace {

using namespace th::exporting;
using th::testing::makePicture;
using th::testing::pixelOf;
using th::testing::Rgba;

const Rgba kClear{0, 0, 0, 0};
const Rgba kMagenta{255, 0, 255, 255};

class Sheet : public ::testing::Test {
protected:
    void SetUp() override { images.registerEncoder(std::make_unique<th::image::PngEncoder>()); }
    void place(int picture, int x, int y, bool rotated = false)
    {
        const auto free = [this](int number) { images.free(number); };
        editor.perform(th::canvas::AddSprites{.sprites = {{.image = picture, .x = x, .y = y, .rotated = rotated,
                                                            .picture = th::canvas::holdPicture(picture, free)}}});
    }
    int solid(int w, int h, Rgba colour) { return makePicture(images, w, h, [=](int, int) { return colour; }); }
    // Each pixel tells where in its picture it came from.
    static Rgba codeOf(int u, int v) { return {u * 6, v * 12, 1, 255}; }
    int coded(int w, int h) { return makePicture(images, w, h, codeOf); }
    SheetResult save(const std::string& name, int w, int h, int depth)
    {
        return saveSpriteSheet(images, model.sprites(), {home.path() / name, w, h, depth, kMagentaBackground}).result;
    }
    // Automatic numbers are handed out in turn: every number made after the
    // probe `before` must be free again once a save is over.
    int probe()
    {
        const int number = images.create(th::image::kAutoNumber, 1, 1, 0).value();
        images.free(number);
        return number;
    }
    void expectNoSheetLeftSince(int before)
    {
        const int after = probe();
        ASSERT_LT(after, before - 1) << "a sheet was made in between";
        for (int number = before - 1; number > after; --number)
            EXPECT_EQ(images.width(number), 0) << "image " << number << " is still there";
    }

    th::testing::TempHome home;
    th::testing::ScriptedHost host{home.folder()};
    th::image::ImageStore images;
    th::canvas::CanvasModel model;
    th::canvas::CanvasEditor editor{model};
};

TEST(SheetSize, PowersOfTwoFromTwoToFourThousandNinetySix)
{
    for (const auto& [size, rounded] : {std::pair{0, 2}, {1, 2}, {2, 2}, {3, 4}, {256, 256}, {257, 512},
                                        {4095, 4096}, {4096, 4096}, {4097, 4097}, {4100, 4100}})
        EXPECT_EQ(roundToPowerOfTwo(size), rounded) << size;
}

TEST_F(Sheet, PicturesAreCutAtEveryEdgeTranslucentOnesComposeOverAndExtrudedEdgesFillOnlyUncoveredPixels)
{
    place(coded(6, 5), -2, -3);
    place(coded(6, 4), 5, -2, true); // 4 wide, 6 tall, partly above the sheet
    place(coded(9, 9), 6, 6);        // runs past the right and the bottom
    place(9999, 0, 0);               // no such picture: passed over
    const int sheet = composeSheet(images, model.sprites(), 8, 8).value();
    EXPECT_EQ(pixelOf(images, sheet, 0, 0), codeOf(2, 3));
    EXPECT_EQ(pixelOf(images, sheet, 3, 1), codeOf(5, 4));
    EXPECT_EQ(pixelOf(images, sheet, 4, 0), kClear);
    // Column 5 + v, row -2 + 6 - 1 - u.
    EXPECT_EQ(pixelOf(images, sheet, 5, 0), codeOf(3, 0));
    EXPECT_EQ(pixelOf(images, sheet, 7, 3), codeOf(0, 2));
    EXPECT_EQ(pixelOf(images, sheet, 6, 4), kClear);
    EXPECT_EQ(pixelOf(images, sheet, 7, 7), codeOf(1, 1));

    // Turned the other way: column 5 + 4 - 1 - v, row -2 + u; the others stay.
    const std::optional<int> clockwise = composeSheet(images, model.sprites(), 8, 8, nullptr, Turn::Clockwise);
    ASSERT_TRUE(clockwise);
    EXPECT_EQ(pixelOf(images, *clockwise, 0, 0), codeOf(2, 3));
    EXPECT_EQ(pixelOf(images, *clockwise, 5, 0), codeOf(2, 3));
    EXPECT_EQ(pixelOf(images, *clockwise, 7, 3), codeOf(5, 1));
    EXPECT_EQ(pixelOf(images, *clockwise, 8 - 1, 7), codeOf(1, 1));

    // The results were worked out once with Porter-Duff "over" in double
    // precision, rounded to nearest; an alpha of 0 draws nothing.
    const std::tuple<Rgba, Rgba, Rgba> cases[] = {
        {{200, 10, 90, 255}, {10, 250, 40, 128}, {105, 130, 65, 255}},
        {{90, 60, 30, 100}, {30, 200, 255, 60}, {64, 122, 129, 136}},
        {{255, 255, 255, 1}, {0, 0, 0, 1}, {127, 127, 127, 2}},
        {{17, 34, 51, 3}, {240, 120, 60, 254}, {240, 120, 60, 254}},
        {{5, 6, 7, 0}, {80, 90, 100, 200}, {80, 90, 100, 200}},
        {{80, 90, 100, 77}, {1, 2, 3, 0}, {80, 90, 100, 77}},
        {{12, 200, 99, 10}, {250, 251, 252, 255}, {250, 251, 252, 255}},
        {{100, 150, 200, 33}, {200, 150, 100, 32}, {153, 150, 147, 61}},
    };
    for (const auto& [under, over, expected] : cases) {
        editor.perform(th::canvas::ClearCanvas{});
        place(solid(1, 1, under), 0, 0);
        place(solid(1, 1, over), 0, 0);
        EXPECT_EQ(pixelOf(images, composeSheet(images, model.sprites(), 1, 1).value(), 0, 0), expected)
            << over[3] << " over " << under[3];
    }

    // Extruded edges repeat the nearest visible pixel onto uncovered sheet
    // pixels only; picture k's pixel (u, v) tells all three apart.
    const auto code = [](int k, int u, int v) { return Rgba{u * 6 + 1, v * 12 + 1, 50 + k * 100, 255}; };
    const struct {
        const char* name;
        int pixels, clip, sheetSide;
        std::vector<std::tuple<int, int, bool>> sprites; // x, y, turned of 4 x 3 pictures 0, 1, ...
        std::vector<std::tuple<int, int, Rgba>> probes;  // x, y, colour
        int met;
    } rows[] = {
        {"upright by 1 at the sheet's top-left edge", 1, 0, 8, {{0, 0, false}},
         {{4, 0, code(0, 3, 0)}, {4, 3, code(0, 3, 2)}, {0, 3, code(0, 0, 2)}, {5, 0, kClear}, {2, 4, kClear}}, 0},
        {"upright by 3, corners included", 3, 0, 16, {{5, 5, false}},
         {{2, 2, code(0, 0, 0)}, {11, 6, code(0, 3, 1)}, {6, 10, code(0, 1, 2)}, {1, 5, kClear}, {12, 6, kClear}}, 0},
        // Turned: picture (u, v) lies at column x + v, row y + 3 - u.
        {"turned by 1 at the sheet's right edge", 1, 0, 6, {{3, 2, true}},
         {{2, 2, code(0, 3, 0)}, {4, 1, code(0, 3, 1)}, {5, 1, code(0, 3, 2)}, {1, 2, kClear}}, 0},
        {"by 3 between two close boxes: they meet in the middle, the later wins a tie", 3, 0, 16,
         {{0, 0, false}, {7, 0, false}},
         {{4, 0, code(0, 3, 0)}, {5, 1, code(1, 0, 1)}, {6, 2, code(1, 0, 2)}, {7, 0, code(1, 0, 0)},
          {11, 0, code(1, 3, 0)}}, 2},
        {"by 1 with a gap of 2: no meeting", 1, 0, 16, {{0, 0, false}, {6, 0, false}},
         {{4, 0, code(0, 3, 0)}, {5, 0, code(1, 0, 0)}}, 0},
        {"the clip's columns are uncovered and take the visible edge", 1, 1, 8, {{0, 0, false}},
         {{0, 0, code(0, 1, 0)}, {3, 2, code(0, 2, 2)}, {4, 0, kClear}}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        editor.perform(th::canvas::ClearCanvas{});
        th::canvas::AddSprites added;
        for (int k = 0; k < int(row.sprites.size()); ++k) {
            const auto [x, y, turned] = row.sprites[std::size_t(k)];
            const int picture = makePicture(images, 4, 3, [&](int u, int v) { return code(k, u, v); });
            added.sprites.push_back({.image = picture, .x = x, .y = y, .width = turned ? 3 : 4,
                                     .height = turned ? 4 : 3, .rotated = turned,
                                     .picture = th::canvas::holdPicture(picture, [this](int n) { images.free(n); })});
        }
        editor.perform(std::move(added));
        const int sheet = composeSheet(images, model.sprites(), row.sheetSide, row.sheetSide).value();
        EXPECT_EQ(extrudeEdges(images.handle(sheet), model.sprites().entries(), row.clip, row.pixels), row.met);
        for (const auto& [x, y, colour] : row.probes)
            EXPECT_EQ(pixelOf(images, sheet, x, y), colour) << x << "," << y;
        images.free(sheet);
    }
}

// 12 and 18 bit keep alpha with coarser channels in a smaller file; every
// other depth flattens the sheet onto the background: a pixel with alpha
// above 32 keeps its colour, a fainter one shows the background. A palette
// depth flattens the same way; how it maps colours is the encoder's test.
// Written or not, a save leaves no sheet image behind.
// The checksums are CRC-32s of the RGBA rows read back, made once from
// sheets that matched pixel for pixel an oracle written apart: at 12 and 18
// bit a pixel with alpha of 32 or less is clear, any other has each channel,
// alpha too, rounded to the nearest of 2^(depth / 3) evenly spaced levels.
TEST_F(Sheet, TwelveAndEighteenBitKeepAlphaTheOtherDepthsFlattenOntoTheBackgroundAndFailuresLeaveNoFile)
{
    // A smooth picture with a see-through frame and a fading edge.
    const int picture = makePicture(images, 256, 256, [](int u, int v) {
        const int alpha = (u < 4 || v < 4) ? (u + v) % 64 : (u > 240 ? 255 - (u - 240) * 14 : 255);
        return Rgba{u, v, (u + v) / 2, alpha};
    });
    place(picture, 0, 0);
    for (const auto& [depth, checksum] : {std::pair{32, 0x2f730721ul}, {12, 0xe13d2586ul}, {18, 0x7a6205beul}}) {
        const std::string name = std::to_string(depth) + ".png";
        const int before = probe();
        ASSERT_EQ(save(name, 256, 256, depth), SheetResult::Written);
        expectNoSheetLeftSince(before);
        EXPECT_EQ(std::filesystem::file_size(home.path() / name) < std::filesystem::file_size(home.path() / "32.png"),
                  depth != 32);
        const std::vector<std::uint8_t> samples = th::testing::readPng(home.path() / name).samples;
        EXPECT_EQ(crc32(crc32(0, nullptr, 0), samples.data(), uInt(samples.size())), checksum) << depth << " bit";
    }

    th::testing::writeBytes(home.path() / "plain-file", "not a folder");
    const int before = probe();
    EXPECT_EQ(save("plain-file/sheet.png", 256, 256, 32), SheetResult::NotWritten);
    expectNoSheetLeftSince(before);
    EXPECT_EQ(save("none.png", 0, 2, 32), SheetResult::NotComposed);
}

class ExportRun : public Sheet {
protected:
    // One 20 x 10 sprite, moved to (x, y) before each run.
    void SetUp() override
    {
        Sheet::SetUp();
        editor.perform(th::canvas::AddSprites{
            .sprites = {{.image = solid(20, 10, {9, 9, 9, 255}), .width = 20, .height = 10, .name = "walk01.png"}}});
        request.sheetPath = (home.path() / "sheet.png").string();
    }
    ExportOutcome runWithSpriteAt(int x, int y)
    {
        editor.perform(th::canvas::MoveSprite{.position = 0, .x = x, .y = y});
        return runExport(request, model, images, host);
    }
    ExportRequest request;
};

TEST_F(ExportRun, TheSheetReachesFromTheOriginToTheUsedAreaClipAndPowerOfTwoIncludedAndTheNoticeCountsMetEdges)
{
    // The sprite's place, the clip, the power of two, the sheet's size and the extrusion.
    const std::tuple<int, int, int, bool, int, int, int> rows[] = {
        {300, 0, 0, false, 320, 10, 0}, // the background fills the left
        {0, 0, 4, false, 16, 10, 0},    // the clip takes 4 pixels off the right
        {80, 50, 0, true, 128, 64, 0},  // 100 x 60 rounds up to 128 x 64
        {0, 0, 0, false, 23, 13, 3},    // room for the extruded right and bottom edges
        {0, 50, 0, true, 32, 64, 3},    // ... which a power of two may already give
    };
    request.retina = true; // which halves what the script says, never the sheet
    request.background = kMagentaBackground;
    for (const auto& [x, y, clip, powerOfTwo, width, height, extrude] : rows) {
        SCOPED_TRACE(::testing::Message() << x << "," << y << " clip " << clip);
        editor.perform(th::canvas::SetClip{.margin = clip});
        request.powerOfTwo = powerOfTwo;
        request.extrude = extrude;
        ASSERT_TRUE(runWithSpriteAt(x, y).completed);
        const th::testing::PngFile sheet = th::testing::readPng(request.sheetPath);
        ASSERT_EQ(std::pair(sheet.width, sheet.height), std::pair(width, height));
        const Rgba sprite{9, 9, 9, 255};
        EXPECT_EQ(sheet.at(x, y), sprite);
        if (x > 0) {
            EXPECT_EQ(sheet.at(x - 1, y), kMagenta);
        }
        EXPECT_EQ(sheet.at(width - 1, height - 1), powerOfTwo ? kMagenta : sprite);
    }

    // When edges meet is the extrusion's own table; the notice counts them,
    // here for a second sprite three pixels right of the first.
    editor.perform(th::canvas::AddSprites{.sprites = {{.image = solid(20, 10, {7, 7, 7, 255}), .x = 23, .width = 20,
                                                       .height = 10, .name = "walk02.png"}}});
    request.extrude = 2;
    const ExportOutcome outcome = runWithSpriteAt(0, 0);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.notice.text, "Your file(s) have been saved to disk.\nThe extruded edges of 2 sprite(s) met those "
                                   "of a neighbour; a gap of twice the extrusion keeps them apart.");
}

// An empty used area is refused before anything is written; a sheet too
// large to make, or a script that fails after the sheet was saved, is told.
// The notice is for the window to show; the clipboard is left alone.
TEST_F(ExportRun, RefusalsAndFailuresAreTheNoticeAndTheTurnDirectiveTurnsTheSheet)
{
    th::testing::writeBytes(home.path() / "t.txt", "th.Extension = \".txt\"\nth.ImageName\n");
    // Lines of 64 KiB reach the clipboard's bound after a thousand passes.
    th::testing::writeBytes(home.path() / "huge.txt", "th.Extension = \"Clipboard\"\nth.Repeat\n" +
                                                          std::string(65536, 'x') + "\nth.Until = $7FFFFFFF\n");
    const std::string gone = home.folder() + "gone.txt";
    const std::string noFolder = home.folder() + "missing-folder/out.txt";
    const std::string empty = "Wait!|No image reaches into the canvas, so the sprite sheet would be empty.";
    const std::string saved = "Not Saved!|The sprite sheet was saved, but the script ";
    // The sprite's column, the power of two, the template, the script (none:
    // no script) and the notice as title|text.
    const std::tuple<int, bool, std::string, std::string, std::string> rows[] = {
        {-30, false, "", "", empty},
        {-30, true, "", "", empty},
        {40000, false, "", "", "Not Saved!|A sprite sheet of 40020 x 10 pixels could not be made."},
        {0, false, gone, home.folder() + "out.txt",
         saved + "template " + gone + " could not be read because it no longer exists."},
        {0, false, home.folder() + "t.txt", noFolder,
         saved + "could not be saved as " + noFolder + " because the folder " + home.folder() +
             "missing-folder does not exist."},
        {0, false, home.folder() + "huge.txt", "", "Not Saved!|The script is too large for the clipboard."},
    };
    host.clipboard = "kept";
    for (const auto& [x, powerOfTwo, templateFile, scriptPath, notice] : rows) {
        SCOPED_TRACE(notice);
        std::filesystem::remove(request.sheetPath);
        request.powerOfTwo = powerOfTwo;
        if (!templateFile.empty())
            request.chooseTemplate(templateFile);
        request.scriptPath = scriptPath;
        const ExportOutcome outcome = runWithSpriteAt(x, 0);
        EXPECT_FALSE(outcome.completed);
        EXPECT_EQ(outcome.notice.title + "|" + outcome.notice.text, notice);
        EXPECT_EQ(std::filesystem::exists(request.sheetPath), x == 0);
        EXPECT_FALSE(std::filesystem::exists(request.scriptPath));
    }
    EXPECT_TRUE(host.shown.empty());
    EXPECT_EQ(host.clipboard, "kept");

    // A template with the turn directive stores turned sprites clockwise.
    editor.perform(th::canvas::ClearCanvas{});
    // A 3 x 2 picture lying turned: 2 wide, 3 tall on the sheet.
    editor.perform(th::canvas::AddSprites{
        .sprites = {{.image = coded(3, 2), .width = 2, .height = 3, .rotated = true, .name = "t.png"}}});
    // The turn line is never written.
    const std::tuple<const char*, Rgba, const char*> turns[] = {
        {"th.Extension = \".txt\"\nth.ImageX\n", codeOf(2, 0), "0\n"},
        {"th.Extension = \".json\"\nth.TurnClockwise\nth.ImageX\n", codeOf(0, 1), "0\n"},
        // Any line that holds the word asks for it, in that case only.
        {"th.Extension = \".txt\"\nth.ImageX\n   th.TurnClockwise note\n", codeOf(0, 1), "0\n"},
        {"th.Extension = \".txt\"\nth.ImageX\nth.turnclockwise\n", codeOf(2, 0), "0\nth.turnclockwise\n"},
    };
    for (const auto& [text, topLeft, script] : turns) {
        SCOPED_TRACE(text);
        th::testing::writeBytes(home.path() / "t.txt", text);
        request.chooseTemplate(home.path() / "t.txt");
        request.scriptPath = (home.path() / "out.txt").string();
        ASSERT_TRUE(runExport(request, model, images, host).completed);
        EXPECT_EQ(th::testing::readPng(request.sheetPath).at(0, 0), topLeft);
        EXPECT_EQ(th::testing::readBytes(home.path() / "out.txt"), script);
    }
}

// A save stopped at any stage or row, the last row included, leaves the
// sheet written before byte for byte and nothing else in its folder.
TEST_F(ExportRun, ACancelledSaveLeavesTheOldSheetByteForByte)
{
    ASSERT_TRUE(runWithSpriteAt(0, 0).completed);
    const std::string old = th::testing::readBytes(request.sheetPath);
    const auto names = th::testing::namesIn(home.path());
    // A learnt palette is asked about between each of its learning's steps:
    // 105 for these 21 x 10 pixels, learnt in pairs.
    std::vector<std::string> wholeSave{"Composing", "Composing"};
    wholeSave.insert(wholeSave.end(), 1 + 105, "Quantising");
    for (int row = 1; row <= 10; ++row)
        wholeSave.push_back("Writing " + std::to_string(row) + " of 10");
    // The depth, the step to stop at and its count, and the steps until the stop.
    const std::tuple<SheetDepth, std::string, int, std::vector<std::string>> cases[] = {
        // Asked inside the composition, the stop comes right after it.
        {SheetDepth::Bits32, "Composing", 1, {"Composing", "Composing"}},
        {SheetDepth::Bits32, "Writing 2 of 10", 1,
         {"Composing", "Composing", "Writing 0 of 10", "Writing 1 of 10", "Writing 2 of 10"}},
        {SheetDepth::Bits8, "Quantising", 1, {"Composing", "Composing", "Quantising"}},
        // Stopped part way through the learning, it learns no further.
        {SheetDepth::Bits8, "Quantising", 3, {"Composing", "Composing", "Quantising", "Quantising", "Quantising"}},
        {SheetDepth::Bits4, "Writing 10 of 10", 1, wholeSave},
    };
    for (const auto& [depth, stopAt, stopAtCount, steps] : cases) {
        SCOPED_TRACE(stopAt + " " + std::to_string(stopAtCount) + " at " + std::to_string(int(depth)));
        th::testing::RecordingProgress progress;
        progress.stopAt = stopAt;
        progress.stopAtCount = stopAtCount;
        request.depth = depth;
        editor.perform(th::canvas::MoveSprite{.position = 0, .x = 1, .y = 0});
        const ExportOutcome outcome = runExport(request, model, images, host, &progress);
        EXPECT_EQ(progress.steps, steps);
        EXPECT_EQ(std::tuple(progress.finishes, outcome.cancelled, outcome.completed, outcome.notice.title),
                  std::tuple(1, true, false, std::string()));
        EXPECT_EQ(th::testing::readBytes(request.sheetPath), old);
        EXPECT_EQ(th::testing::namesIn(home.path()), names);
    }
}

} // namespace
