// Pictures changed on disk come back into the canvas: however an editor
// saves, a burst of changes is one reload and one step that undoes, and a
// file that is gone leaves its sprites alone and is named once.

#include "canvas/CanvasEdit.h"
#include "canvas/PictureFile.h"
#include "canvas/PictureReload.h"
#include "canvas/PictureWatch.h"
#include "image/StandardCodecs.h"
#include "testing/DescribeCanvas.h"
#include "testing/PngFile.h"
#include "testing/TempHome.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace {

using namespace th::canvas;
using th::canvas::testing::describe;
using th::testing::Rgba;

// Quiet time of the watch in these tests: long enough that the writes of a
// burst fall inside it, short enough not to make the table slow.
constexpr std::chrono::milliseconds kQuiet{200};

struct Canvas {
    th::testing::TempHome home;
    th::image::ImageStore images;
    std::string a = home.folder() + "a.png";
    std::string b = home.folder() + "b.png";
    CanvasModel model;
    std::vector<CanvasEdit> steps;
    CanvasEditor editor{model, [this](CanvasEdit edit) { steps.push_back(std::move(edit)); }};
    th::canvas::PictureFiles files{images};
    PictureLoader load = [this](const std::string& path) { return files.load(path); };
    PictureReload reload{editor, load};
    int reports = 0;
    std::string notice;
    PictureWatch watch{[this](const std::vector<std::string>& paths) {
                           ++reports;
                           notice = reload.reload(paths);
                       },
                       kQuiet};

    Canvas()
    {
        th::image::registerStandardCodecs(images);
        write(a, 4, 6, {255, 0, 0, 255});
        write(b, 5, 5, {0, 0, 255, 255});
        // Two sprites of a, one turned, and one of b.
        std::vector<SpriteEntry> sprites;
        for (const auto& [path, x, turned] : {std::tuple{a, 0, false}, {b, 10, false}, {a, 20, true}}) {
            LoadedPicture picture = *load(path).picture;
            sprites.push_back({.image = picture.image, .x = x, .y = 3,
                               .width = turned ? picture.height : picture.width,
                               .height = turned ? picture.width : picture.height, .rotated = turned,
                               .name = std::filesystem::path(path).filename().string(), .sourcePath = path,
                               .picture = picture.picture});
        }
        editor.perform(AddSprites{.sprites = std::move(sprites)});
        steps.clear();
        watch.follow(pictureFilesOf(model));
    }

    // A PNG of one colour, made elsewhere, for the row to save as it likes.
    std::string png(int width, int height, Rgba colour)
    {
        const int number = th::testing::makePicture(images, width, height, [&](int, int) { return colour; });
        const std::string scratch = home.folder() + "scratch.png";
        EXPECT_TRUE(images.save(number, scratch, th::image::kCodecPng, th::image::SaveFlags::None, 32).ok());
        images.free(number);
        std::string bytes = th::testing::readBytes(scratch);
        std::filesystem::remove(scratch);
        return bytes;
    }
    // Into the same file, as an editor that rewrites in place does.
    void write(const std::string& path, int width, int height, Rgba colour)
    {
        th::testing::writeBytes(path, png(width, height, colour));
    }
    void replaceByRename(const std::string& path, int width, int height, Rgba colour)
    {
        th::testing::writeBytes(path + ".tmp", png(width, height, colour));
        std::filesystem::rename(path + ".tmp", path);
    }
    void deleteAndCreate(const std::string& path, int width, int height, Rgba colour)
    {
        const std::string bytes = png(width, height, colour);
        std::filesystem::remove(path);
        QTest::qWait(20);
        th::testing::writeBytes(path, bytes);
    }

    // Until the watch has reported `count` bursts, then long enough past its
    // quiet time to see that no other follows.
    void settle(int count)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return reports >= count; }, 5000)) << "no report";
        QTest::qWait(int(3 * kQuiet.count()));
    }

    Rgba colourOf(std::size_t position) const
    {
        return th::testing::pixelOf(images, model.sprites().entries()[position].image, 0, 0);
    }
};

struct Row {
    const char* name;
    std::function<void(Canvas&)> save;
    std::string after;
    std::string notice;
    std::size_t steps;
    Rgba firstColour;
};

TEST(PictureWatch, ChangedPicturesReloadAsOneStep)
{
    const Rgba red{255, 0, 0, 255};
    const Rgba green{0, 255, 0, 255};
    const std::string unchanged = "a.png#1@0,3 4x6 b.png#2@10,3 5x5 a.png#3@20,3 6x4T ";
    const std::string tail = "| current a.png, clip 0, place 0,0, active, size 1024";
    const Row rows[] = {
        {"rewritten in place", [&](Canvas& c) { c.write(c.a, 4, 6, green); }, unchanged + tail, "Reloaded a.png", 1,
         green},
        {"replaced by a rename, at a new size",
         [&](Canvas& c) { c.replaceByRename(c.a, 8, 2, green); },
         "a.png#1@0,3 8x2 b.png#2@10,3 5x5 a.png#3@20,3 2x8T " + tail, "Reloaded: a.png is now 8x2", 1, green},
        {"deleted and created again", [&](Canvas& c) { c.deleteAndCreate(c.a, 4, 6, green); }, unchanged + tail,
         "Reloaded a.png", 1, green},
        {"a burst of 50 saves over both files",
         [&](Canvas& c) {
             // Encoded first, so that no save waits on the encoder.
             std::vector<std::string> saves;
             for (int i = 0; i < 50; ++i)
                 saves.push_back(c.png(4, 6 + i % 3, i < 48 ? red : green));
             for (int i = 0; i < 50; ++i)
                 th::testing::writeBytes(i % 2 ? c.b : c.a, saves[std::size_t(i)]);
         },
         "a.png#1@0,3 4x6 b.png#2@10,3 4x7 a.png#3@20,3 6x4T " + tail,
         "Reloaded: b.png is now 4x7", 1, green},
        {"gone from disk", [&](Canvas& c) { std::filesystem::remove(c.a); }, unchanged + tail,
         "a.png is gone from disk; its sprite stays as it was", 0, red},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas canvas;
        const std::string before = describe(canvas.model);
        row.save(canvas);
        canvas.settle(1);
        EXPECT_EQ(canvas.reports, 1);
        EXPECT_EQ(canvas.notice, row.notice);
        EXPECT_EQ(describe(canvas.model), row.after);
        EXPECT_EQ(canvas.colourOf(0), row.firstColour);
        EXPECT_EQ(canvas.colourOf(2), row.firstColour);
        ASSERT_EQ(canvas.steps.size(), row.steps);
        if (row.steps == 0) {
            // Named once: the same news again says nothing.
            EXPECT_EQ(canvas.reload.reload({canvas.a}), "");
            continue;
        }
        EXPECT_EQ(editName(canvas.steps[0]), "Reload Picture");
        revert(canvas.steps[0], canvas.model);
        EXPECT_EQ(describe(canvas.model), before);
        EXPECT_EQ(canvas.colourOf(0), red);
        // Watched again after the save: the next one is seen too.
        canvas.write(canvas.a, 3, 3, red);
        canvas.settle(2);
        EXPECT_EQ(canvas.reports, 2);
        EXPECT_EQ(canvas.model.sprites().entries()[0].width, 3);
    }
}

} // namespace
