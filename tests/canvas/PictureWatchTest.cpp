// Pictures changed on disk come back into the canvas: however an editor
// saves, a burst of changes is one reload and one step that undoes, and a
// file that is gone leaves its sprites alone and is named once. The
// system's notices and the end of the quiet period are delivered by hand,
// as the watcher and the timer would, so nothing waits.

#include "canvas/CanvasEdit.h"
#include "canvas/PictureReload.h"
#include "canvas/PictureWatch.h"
#include "RecordingDisplay.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::describe;
using th::testing::writeBytes;

struct Canvas : th::canvas::testing::DisplayedCanvas {
    th::testing::TempHome home;
    std::string a = home.folder() + "a.png";
    std::string b = home.folder() + "b.png";
    th::canvas::testing::StandInPictures pictures;
    PictureReload reload{editor, std::ref(pictures)};
    std::vector<std::string> notices;
    PictureWatch watch{[this](const std::vector<std::string>& paths) { notices.push_back(reload.reload(paths)); }};

    Canvas()
    {
        writeBytes(a, "4 6 red");
        writeBytes(b, "5 5 blue");
        // Two sprites of a, the last turned, and one of b.
        std::vector<SpriteEntry> sprites;
        for (const auto& [path, x] : {std::pair{a, 0}, {b, 10}, {a, 20}}) {
            LoadedPicture picture = *pictures(path).picture;
            sprites.push_back({.image = picture.image, .x = x, .y = 3, .width = picture.width,
                               .height = picture.height, .name = std::filesystem::path(path).filename().string(),
                               .sourcePath = path, .picture = picture.picture});
        }
        editor.perform(AddSprites{.sprites = std::move(sprites)});
        editor.perform(TurnSprite{.position = 2});
        steps.clear();
        watch.follow(pictureFilesOf(model));
    }

    // What the watcher tells of a change to a file, or with "" of a file
    // created, deleted or renamed in the folder.
    void tell(const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            name.empty() ? watch.folderChanged(QString::fromStdString(home.path().string()))
                         : watch.fileChanged(QString::fromStdString(home.folder() + name));
    }
};

TEST(PictureWatch, ChangedPicturesReloadAsOneStep)
{
    const std::string unchanged = "a.png#1@0,3 4x6 b.png#2@10,3 5x5 a.png#3@20,3 6x4T";
    const struct {
        const char* name;
        std::function<void(Canvas&)> save;
        std::vector<std::string> notices; // as Canvas::tell takes them, after the save
        std::string sprites; // as described, afterwards
        std::string notice;  // empty when the watch reports nothing
        std::string look;    // of the turned sprite of a afterwards
    } rows[] = {
        {"rewritten in place", [](Canvas& c) { writeBytes(c.a, "4 6 green"); }, {"a.png"}, unchanged, "Reloaded a.png",
         "green"},
        {"replaced by a rename, at a new size",
         [](Canvas& c) {
             writeBytes(c.a + ".tmp", "8 2 green");
             std::filesystem::rename(c.a + ".tmp", c.a);
         },
         {""}, "a.png#1@0,3 8x2 b.png#2@10,3 5x5 a.png#3@20,3 2x8T", "Reloaded: a.png is now 8x2", "green"},
        {"deleted and created again",
         [](Canvas& c) {
             std::filesystem::remove(c.a);
             writeBytes(c.a, "4 6 green");
         },
         {"a.png", "", ""}, unchanged, "Reloaded a.png", "green"},
        {"a burst of saves over both files",
         [](Canvas& c) {
             writeBytes(c.a, "4 6 blue");
             c.tell({"a.png", "a.png"});
             writeBytes(c.b, "4 7 blue");
             c.tell({"b.png"});
             writeBytes(c.a, "4 6 green");
         },
         {"a.png"}, "a.png#1@0,3 4x6 b.png#2@10,3 4x7 a.png#3@20,3 6x4T", "Reloaded: b.png is now 4x7", "green"},
        {"gone from disk", [](Canvas& c) { std::filesystem::remove(c.a); }, {"a.png", ""}, unchanged,
         "a.png is gone from disk; its sprite stays as it was", "red"},
        {"another file in the folder", [](Canvas& c) { writeBytes(c.home.folder() + "c.png", "4 6 green"); },
         {"", "c.png"}, unchanged, "", "red"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas canvas;
        row.save(canvas);
        canvas.tell(row.notices);
        canvas.watch.report();
        EXPECT_EQ(canvas.notices, std::vector<std::string>(row.notice.empty() ? 0 : 1, row.notice));
        EXPECT_EQ(describe(canvas.model), row.sprites + " | current a.png, clip 0, place 0,0, active, size 1024");
        EXPECT_EQ(canvas.pictures.looks.at(canvas.model.sprites().entries()[2].image), row.look);
        const bool reloaded = row.notice.starts_with("Reloaded");
        ASSERT_EQ(canvas.steps.size(), reloaded ? 1u : 0u);
        if (!reloaded && !row.notice.empty()) {
            // Named once: the same news again says nothing.
            EXPECT_EQ(canvas.reload.reload({canvas.a}), "");
        }
        if (!reloaded)
            continue;
        // The sizes a revert puts back are CanvasModelTest's; the picture is too.
        revert(canvas.steps[0], canvas.model);
        EXPECT_EQ(canvas.pictures.looks.at(canvas.model.sprites().entries()[0].image), "red");
        // Watched again as the reloaded version: nothing new is no news, the
        // next save is.
        canvas.tell({""});
        canvas.watch.report();
        writeBytes(canvas.a, "3 3 red");
        canvas.tell({""});
        canvas.watch.report();
        EXPECT_EQ(canvas.notices.size(), 2u);
        EXPECT_EQ(canvas.model.sprites().entries()[0].width, 3);
    }
}

} // namespace
