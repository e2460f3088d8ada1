// Projects through their commands, with a scripted host and a stand-in
// picture loader: a file holding "W H" is a W x H picture, anything else is
// not a picture. Every refusal must leave the canvas as it was.

#include "files/WholeFile.h"
#include "project/ProjectCanvas.h"
#include "project/ProjectCommands.h"
#include "project/ProjectFile.h"
#include "../canvas/RecordingDisplay.h"
#include "testing/ScriptedHost.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

using namespace th::canvas;
using namespace th::project;
using th::canvas::testing::describe;
using th::testing::readBytes;
using th::testing::writeBytes;

// One canvas with its mouse and project commands.
struct Canvas {
    explicit Canvas(th::testing::ScriptedHost& host) : commands(editor, mouse, host, load) {}

    // A "picture" is its width and height as text, read as pictures are.
    static PictureLoad load(const std::string& path)
    {
        const th::files::WholeFile file = th::files::readWholeFile(path, th::files::FileKind::Picture);
        std::istringstream text(std::string(file.bytes.begin(), file.bytes.end()));
        int width = 0, height = 0;
        if (!file.result.ok() || !(text >> width >> height))
            return {.picture = {}, .unread = file.result};
        return {LoadedPicture{width * 1000 + height, width, height, {}}};
    }

    CanvasModel model;
    CanvasEditor editor{model};
    th::canvas::testing::RecordingDisplay display;
    CanvasMouse mouse{editor, display};
    ProjectCommands commands;
};

class ProjectCommandsTest : public ::testing::Test {
protected:
    // A sprite at (x, y) from a stand-in picture file of the given size.
    SpriteEntry sprite(const std::string& path, const std::string& size, std::int32_t x, std::int32_t y)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        writeBytes(path, size);
        const LoadedPicture loaded = Canvas::load(path).picture.value();
        return {.image = loaded.image, .x = x, .y = y, .width = loaded.width, .height = loaded.height,
                .name = std::filesystem::path(path).filename().string(), .sourcePath = path};
    }
    // a, b and c on the canvas, b turned with its pivot moved, a dragged on top, the clip at 2 on
    // a 2048 canvas with snapping on, and one export's choices; a and b lie
    // below `projectFolder`, c outside it.
    void arrange(Canvas& canvas)
    {
        canvas.editor.perform(AddSprites{.sprites = {sprite(projectFolder + "pics/a.png", "10 20", 0, 0),
                                                     sprite(projectFolder + "pics/b.png", "30 40", 10, 0),
                                                     sprite(home.folder() + "elsewhere/c.png", "5 6", 40, 0)},
                                         .placeX = 45, .placeY = 0});
        canvas.editor.perform(TurnSprite{.position = 1});
        canvas.editor.perform(MoveSprite{.position = 0, .x = -3, .y = 70});
        canvas.editor.perform(SetPivot{.position = 1, .x = 0.25, .y = -1.5});
        canvas.editor.perform(SetClip{.margin = 2});
        canvas.editor.perform(SetCanvasSize{.size = 2048});
        canvas.mouse.setSnapToGrid(true);
        canvas.commands.exported({.sheetPath = "/out/sheet.png", .depth = th::exporting::SheetDepth::Bits8,
                                  .background = th::exporting::kMagentaBackground, .retina = true, .powerOfTwo = true,
                                  .extrude = 3, .sheetNumber = 12, .templateFile = "/data/My plist.txt", .script = {},
                                  .scriptPath = "/out/sheet.plist"});
    }
    // Opens `file` through the menu command, agreeing to clear the canvas.
    bool openInto(Canvas& canvas, const std::string& file)
    {
        host.paths.push_back(file);
        if (!canvas.model.sprites().empty())
            host.answers.push_front(true); // "Clear the Canvas?"
        return canvas.commands.openProject();
    }

    th::testing::TempHome home;
    th::testing::ScriptedHost host{home.folder()};
    std::string projectFolder = home.folder() + "project/";
};

// The arrangement kept for the next start, then the project saved and
// reopened from another folder.
TEST_F(ProjectCommandsTest, KeptArrangementIsOfferedOnceAndSavedProjectReopensEveryFieldAndMovesWithItsFolder)
{
    const std::string kept = home.folder() + kAutosaveName;
    Canvas first(host);
    EXPECT_FALSE(first.commands.offerRestore(kept)) << "a first run asks nothing";
    ASSERT_TRUE(first.commands.keep(kept).ok());
    EXPECT_FALSE(first.commands.offerRestore(kept)) << "an empty canvas asks nothing";
    arrange(first);
    ASSERT_TRUE(first.commands.keep(kept).ok());

    Canvas restored(host);
    host.answers = {true};
    EXPECT_TRUE(restored.commands.offerRestore(kept));
    EXPECT_EQ(host.shown.back().text,
              "Tile Heron was closed with 3 sprites on the canvas. Do you want to restore that arrangement?");
    EXPECT_EQ(describe(restored.model), describe(first.model));
    EXPECT_EQ(restored.commands.projectFile(), "") << "Save Project still asks where";

    Canvas declined(host);
    host.answers = {false};
    EXPECT_FALSE(declined.commands.offerRestore(kept));
    EXPECT_EQ(describe(declined.model), "| current -, clip 0, place 0,0, inactive, size 1024");
    host.shown.clear();
    EXPECT_FALSE(Canvas(host).commands.offerRestore(kept));
    EXPECT_TRUE(host.shown.empty()) << "No forgets the arrangement";

    // A write that fails is noted, and the next start says the arrangement
    // may be older than the canvas was; the next write that succeeds forgets it.
    ASSERT_TRUE(first.commands.keep(kept).ok());
    std::filesystem::rename(kept, kept + ".old");
    std::filesystem::create_directory(kept);
    EXPECT_FALSE(first.commands.keep(kept).ok());
    std::filesystem::remove(kept);
    std::filesystem::rename(kept + ".old", kept);
    Canvas afterFailure(host);
    host.answers = {true};
    EXPECT_TRUE(afterFailure.commands.offerRestore(kept));
    EXPECT_EQ(host.shown.back().text,
              "Tile Heron was closed with 3 sprites on the canvas. The last changes could not be kept, so this "
              "arrangement may be older than what was on screen. Do you want to restore that arrangement?");
    ASSERT_TRUE(afterFailure.commands.keep(kept).ok());
    host.answers = {true};
    EXPECT_TRUE(Canvas(host).commands.offerRestore(kept));
    EXPECT_EQ(host.shown.back().text.find("may be older"), std::string::npos) << host.shown.back().text;

    // One that cannot be read is set aside once, with the user told, and
    // blocks no later start.
    const std::string damaged = "{\"version\": 1, \"canvas\": {\"size\": 1e999}}";
    writeBytes(kept, damaged);
    host.shown.clear();
    EXPECT_FALSE(Canvas(host).commands.offerRestore(kept));
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown.back().kind + "|" + host.shown.back().title + "|" + host.shown.back().text,
              "message|Arrangement Not Restored|The arrangement kept at the last run could not be read, so it was "
              "set aside as " + kept + ".damaged:\n- canvas \"size\" holds a number too large to read");
    EXPECT_EQ(readBytes(kept + ".damaged"), damaged);
    EXPECT_FALSE(std::filesystem::exists(kept));
    host.shown.clear();
    EXPECT_FALSE(Canvas(host).commands.offerRestore(kept));
    EXPECT_TRUE(host.shown.empty());

    host.paths = {projectFolder + "arrangement"};
    first.commands.saveProjectAs();
    const std::string file = projectFolder + "arrangement.theron";
    EXPECT_EQ(first.commands.projectFile(), file);
    const std::string text = readBytes(file);

    // The folder moves; its pictures go with it, c stays where it was.
    const std::string moved = home.folder() + "moved/";
    std::filesystem::rename(projectFolder, moved);
    Canvas second(host);
    ASSERT_TRUE(openInto(second, moved + "arrangement.theron"));
    EXPECT_EQ(describe(second.model),
              "c.png#3@40,0 5x6 b.png#2@10,0 40x30T pivot 0.25,-1.5 a.png#1@-3,70 10x20 "
              "| current a.png, clip 2, place 45,0, active, size 2048");
    EXPECT_EQ(second.model.sprites().entries()[2].sourcePath, moved + "pics/a.png");
    EXPECT_EQ(second.model.sprites().entries()[0].sourcePath, home.folder() + "elsewhere/c.png");
    EXPECT_TRUE(second.mouse.snapToGrid());
    EXPECT_EQ(second.commands.projectFile(), moved + "arrangement.theron");

    const th::exporting::ExportRequest request = exportRequestFor(second.commands.exportChoices(), "/data/");
    EXPECT_EQ(request.templateFile, std::filesystem::path("/data/My plist.txt"));
    EXPECT_EQ(std::tuple(request.sheetPath, request.depth, request.background, request.retina, request.powerOfTwo,
                         request.sheetNumber, request.extrude, request.scriptPath),
              std::tuple(std::string("/out/sheet.png"), th::exporting::SheetDepth::Bits8,
                         th::exporting::kMagentaBackground, true, true, 12, 3, std::string("/out/sheet.plist")));

    // "Save Project" goes back to the opened file without a panel, and the
    // reopened arrangement writes the very text it was read from.
    std::filesystem::remove(moved + "arrangement.theron");
    const std::size_t shown = host.shown.size();
    second.commands.saveProject();
    EXPECT_EQ(host.shown.size(), shown);
    EXPECT_EQ(readBytes(moved + "arrangement.theron"), text);

    // A project saved before sprites had pivots reads them as the middle.
    nlohmann::json older = nlohmann::json::parse(text);
    for (nlohmann::json& sprite : older["sprites"]) {
        sprite.erase("pivotX");
        sprite.erase("pivotY");
    }
    const ProjectReading reading = parseProject(older.dump(), file);
    ASSERT_TRUE(reading.project);
    for (const ProjectSprite& sprite : reading.project->sprites)
        EXPECT_EQ(std::pair(sprite.pivotX, sprite.pivotY), std::pair(0.5, 0.5));
}

// A faulty file, or pictures that cannot all be read, are named, and the
// canvas stays as it was unless the user opens the rest.
TEST_F(ProjectCommandsTest, FaultyFilesAndUnreadablePicturesAreNamedAndLeaveTheCanvasAsItWas)
{
    Canvas source(host);
    arrange(source);
    const std::string file = projectFolder + "p.theron";
    const std::string good = projectText(projectOf(source.model, false), file);
    const auto changed = [](std::string text, const std::vector<std::pair<std::string, std::string>>& edits) {
        for (const auto& [from, to] : edits)
            text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string opened = "The project " + file + " could not be opened:";
    std::string deepItems;
    for (int i = 0; i < 30; ++i)
        deepItems += " item 1";
    // A name, the project file (empty for a folder in its place), the notice.
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"truncated", good.substr(0, 100), opened + "\n- it is not valid JSON: it breaks off or goes wrong at byte 101"},
        {"not an object", "[1, 2]", opened + "\n- it is not a Tile Heron project: its JSON is not an object"},
        {"from the future", changed(good, {{"\"version\": 1", "\"version\": 2"}}),
         opened + "\n- it was saved by a newer Tile Heron (project version 2; this one reads version 1)"},
        {"version zero", changed(good, {{"\"version\": 1", "\"version\": 0"}}), opened + "\n- its project version 0 is unknown"},
        {"fields of the wrong kind",
         changed(good, {{"\"size\": 2048", "\"size\": 2000"}, {"\"pivotX\": 0.5", "\"pivotX\": \"left\""},
                        {"\"x\": 10", "\"x\": \"10\""}, {"\"rotated\": true", "\"rotated\": 1"},
                        {"\"depth\": 32", "\"depth\": 5"}, {"\"extrude\": 0", "\"extrude\": 9"}}),
         opened + "\n- canvas \"size\" must be 1024, 2048 or 4096\n- sprite 1: \"pivotX\" must be a number"
                  "\n- sprite 2: \"x\" must be a whole number\n- sprite 2: \"rotated\" must be true or false"
                  "\n- export \"depth\" must be 32, 24, 18, 12, 8, 4 or 1"
                  "\n- export \"extrude\" must be a whole number from 0 to 8"},
        {"a number past 32 bits", changed(good, {{"\"y\": 70", "\"y\": 4294967296"}}),
         opened + "\n- sprite 3: \"y\" must be a whole number"},
        {"indices twice", changed(good, {{"\"index\": 3", "\"index\": 1"}}),
         opened + "\n- the sprites' indices must be 1 to 3, each once"},
        // Faults met while parsing name their field as the checks after it do
        // (a canvas field is named so by the kept arrangement's test below).
        {"too large as a sprite", changed(good, {{"\"sprites\": [", "\"sprites\": [1e999, "}}),
         opened + "\n- sprite 1 holds a number too large to read"},
        {"nested too deep", changed(good, {{"\"sheet\": \"", "\"extra\": " + std::string(40, '[') + ", \"sheet\": \""}}),
         opened + "\n- export \"extra\"" + deepItems + " nests lists and objects deeper than a project ever does"},
        {"a key twice", changed(good, {{"\"x\": 10", "\"x\": 10, \"x\": 500"}}), opened + "\n- sprite 2: \"x\" is given twice"},
        {"the sprites twice", changed(good, {{"\"sprites\": [", "\"sprites\": [], \"sprites\": ["}}),
         opened + "\n- \"sprites\" is given twice"},
        {"outside every canvas", changed(good, {{"\"y\": 70", "\"y\": 4096"}, {"\"x\": 40", "\"x\": -5"}}),
         opened + "\n- c.png: x -5 puts it outside every canvas; x must be from -4 to 4095"
                  "\n- a.png: y 4096 puts it outside every canvas; y must be from -19 to 4095"},
        {"a folder in its place", "", opened + "\n- it is a folder, not a project file"},
    };
    const std::string before = describe(source.model);
    const std::uint64_t revision = source.model.revision();
    for (const auto& [name, text, notice] : rows) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(file);
        if (text.empty())
            std::filesystem::create_directories(file);
        else
            writeBytes(file, text);
        host.shown.clear();
        EXPECT_FALSE(openInto(source, file));
        ASSERT_FALSE(host.shown.empty());
        EXPECT_EQ(host.shown.back().kind + "|" + host.shown.back().title + "|" + host.shown.back().text,
                  "message|Not Opened!|" + notice);
        EXPECT_EQ(source.model.revision(), revision);
        EXPECT_EQ(describe(source.model), before);
    }

    std::filesystem::remove_all(file);
    ASSERT_TRUE(saveProject(projectOf(source.model, false), file).ok());
    std::filesystem::remove(projectFolder + "pics/a.png");
    std::filesystem::remove(projectFolder + "pics/b.png");
    std::filesystem::create_directory(projectFolder + "pics/b.png");
    host.answers = {false};
    EXPECT_FALSE(openInto(source, file));
    EXPECT_EQ(host.shown.back().kind + "|" + host.shown.back().title + "|" + host.shown.back().text,
              "ask|Pictures Missing!|These pictures of the project " + file + " could not be read:\n- b.png: a folder, "
              "not a picture\n- a.png: not found\n\nOpen the project without them?");
    EXPECT_EQ(source.model.revision(), revision);
    EXPECT_EQ(describe(source.model), before);
    EXPECT_EQ(source.commands.projectFile(), "");

    // The one sprite left is numbered 1, as if the others had been deleted.
    host.answers = {true};
    EXPECT_TRUE(openInto(source, file));
    EXPECT_EQ(describe(source.model), "c.png#1@40,0 5x6 | current c.png, clip 2, place 45,0, active, size 2048");

    // With no picture left, there is nothing to open without them.
    std::filesystem::remove(home.folder() + "elsewhere/c.png");
    host.shown.clear();
    EXPECT_FALSE(openInto(source, file));
    EXPECT_EQ(host.shown.back().title, "Not Opened!");
    EXPECT_NE(host.shown.back().text.find(":\n- c.png: not found\n- b.png"), std::string::npos) << host.shown.back().text;
}

} // namespace
