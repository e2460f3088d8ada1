// Projects from the File menu to the files: a canvas arranged with the real
// commands is exported, saved, opened in a fresh window and exported again
// by tile-heron-export, which must write the same bytes. The kept
// arrangement follows the canvas and is offered at the next start.

#include "MainWindowFixture.h"

#include "testing/DescribeCanvas.h"
#include "export/ExportWindow.h"
#include "project/ProjectCommands.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>

#include <gmock/gmock.h>

#include <csignal>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <ranges>
#include <set>

namespace {

using namespace th::app;
using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::StartsWith;
using th::canvas::testing::describe;
using th::testing::readBytes;
using th::testing::writeBytes;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

class ProjectWindowTest : public th::testing::ExportingWindowTest {
protected:
    void SetUp() override
    {
        ExportingWindowTest::SetUp();
        writeBytes(dataFolder + "Clipboard.txt", "Clipboard\nth.Repeat\nth.ImageName\nth.Until = th.ImageCount\n");
    }

    std::unique_ptr<MainWindow> freshWindow()
    {
        auto made = std::make_unique<MainWindow>(host, pictures, pictureAccess(images));
        made->enableExport(images, dataFolder);
        return made;
    }

    // The two pictures, then c imported by itself, the clip widened and
    // snapping on, on a 2048 canvas.
    void arrangeCanvas()
    {
        arrangeTwoPictures();
        writePng(home.folder() + "c.png", 12, 8, qRgba(200, 10, 10, 200));
        importPicture(home.folder() + "c.png");
        window->menuAction(kMenuClipAlpha)->trigger();
        click(kSnapSwitch);
        static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector))->setCurrentIndex(1);
    }

    // The export window's sheet and script, with the csv template at 8 bits.
    void exportFromWindow(const std::string& sheet, const std::string& script)
    {
        openExport();
        gadget<QLineEdit>(th::exporting::kSheetPathField)->setText(QString::fromStdString(sheet));
        choose(th::exporting::kDepthList, "8 bit");
        choose(th::exporting::kTemplateList, "sprites");
        gadget<QLineEdit>(th::exporting::kScriptPathField)->setText(QString::fromStdString(script));
        pressExport();
        ASSERT_EQ(host.shown.back().title, "Exported!");
        // The desktop gives the main window the front back; offscreen, the test does.
        QApplication::setActiveWindow(window.get());
    }

    // tile-heron-export with no display and no platform named.
    ToolRun runTool(const std::string& arguments, const std::string& homeFolder = {})
    {
        const std::string out = home.folder() + "tool.out";
        const std::string err = home.folder() + "tool.err";
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                    (homeFolder.empty() ? std::string() : "HOME=" + homeFolder + " ") +
                                    TH_EXPORT_TOOL " " + arguments + " >" + out + " 2>" + err;
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(out), readBytes(err)};
    }
};

// What a reopened project holds is the project's own test; here the window
// saves it, shows it reopened, and the tool exports it as the window did,
// answers its arguments with its exit status, and watches it: exported at the
// start, again after a picture and after the project file changed, and
// stopped by Ctrl+C with success and nothing but the sheet and script left.
TEST_F(ProjectWindowTest, SavedProjectIsExportedByTheCommandLineAsTheWindowDidOnceOrWatched)
{
    arrangeCanvas();
    // "Save Project" with no file yet asks where, as "Save Project As…" does;
    // a copy made before the export holds no sheet or script yet.
    host.paths.push_back(home.folder() + "arrangement");
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    const std::string saved = home.folder() + "arrangement.theron";
    const std::string project = home.folder() + "p.theron";
    ASSERT_TRUE(std::filesystem::copy_file(saved, project));
    const std::string out = makeFolder("out");
    std::filesystem::create_directories(out + "window");
    exportFromWindow(out + "window/sheet.png", out + "window/sheet.csv");
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);

    std::unique_ptr<MainWindow> reopened = freshWindow();
    host.paths.push_back(saved);
    reopened->menuAction(kMenuOpenProject)->trigger();
    EXPECT_EQ(reopened->canvasView()->width(), 2048);

    std::filesystem::create_directories(out + "tool");
    const ToolRun done = runTool(saved + " --sheet " + out + "tool/sheet.png --script " + out + "tool/sheet.csv");
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.out, out + "tool/sheet.png\n" + out + "tool/sheet.csv\n");
    for (const char* file : {"sheet.png", "sheet.csv"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(readBytes(out + "tool/" + file), readBytes(out + "window/" + file));
    }

    const std::string sheet = " --sheet " + home.folder() + "s.png";
    // Names are bytes: one that is no UTF-8 is read and written exactly.
    const std::string oddProject = home.folder() + "p\xff.theron";
    const std::string oddSheet = home.folder() + "sp\xffx.png";
    std::filesystem::copy_file(project, oddProject);
    // A pipe as the template is refused at once instead of waiting for a writer.
    const std::string pipe = home.folder() + "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Rows that stop on their arguments must write nothing there.
    const std::string unwritten = " --sheet " + home.folder() + "unwritten.png";
    const std::string fresh = home.folder() + "fresh/";
    std::filesystem::create_directory(fresh);
    struct Row {
        const char* name;
        std::string arguments;
        int status;
        ::testing::Matcher<const std::string&> out;
        std::string errStart;
        std::string homeFolder = {};
    };
    const Row rows[] = {
        {"help", "--help", 0, StartsWith("Usage: "), ""},
        {"version", "--version", 0, StartsWith("tile-heron-export "), ""},
        {"the sheet alone", project + sheet + " --depth 1 --power-of-two", 0, home.folder() + "s.png\n", ""},
        {"a clipboard template", project + sheet + " --template Clipboard --clipboard-to-stdout", 0,
         "Clipboard\r\na\r\nb\r\nc\r\n", home.folder() + "s.png\n"},
        {"the first run in a fresh home installs the default templates", project + sheet + " --template plist --script " +
         home.folder() + "s.plist", 0, home.folder() + "s.png\n" + home.folder() + "s.plist\n", "", fresh},
        {"a clipboard template without its flag", project + unwritten + " --template Clipboard", 2, "",
         "The template " + dataFolder + "Clipboard.txt copies its script to the clipboard"},
        {"a file template without a script", project + unwritten + " --template plist", 2, "",
         "The template " + dataFolder + "plist.txt writes its script to a file; name it with --script."},
        {"a template that never existed", project + unwritten + " --template nowhere --script x", 2, "",
         "There is no template named \"nowhere\" in the script library " + dataFolder + "."},
        {"no sheet path stored", project, 2, "", "Name the sheet with --sheet; the project holds no place for it."},
        {"no such project", home.folder() + "none.theron" + sheet, 1, "",
         "The project " + home.folder() + "none.theron could not be opened:\n- there is no such file"},
        {"names that are no UTF-8", oddProject + " --sheet " + oddSheet, 0, oddSheet + "\n", ""},
        {"a pipe as the template", project + sheet + " --template-file " + pipe + " --script " + home.folder() + "s.csv",
         1, "", "The sprite sheet was saved, but the script template " + pipe},
        {"no project", sheet, 2, "", "Name exactly one project file."},
        {"an unknown depth", project + " --depth 16", 2, "", "Unknown depth 16; use 32, 24, 18, 12, 8, 4 or 1."},
        {"an unknown background", project + " --background white", 2, "", "Unknown background white;"},
        {"a sheet number out of range", project + " --sheet-number 10000", 2, "", "The sheet number must be"},
        {"an extrusion out of range", project + " --extrude 9", 2, "", "The extrusion must be a whole number from 0 to 8"},
        {"both template options", project + " --template a --template-file b", 2, "", "Give --template or"},
        {"both script options", project + " --script a --clipboard-to-stdout", 2, "", "Give --script or"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ToolRun run = runTool(row.arguments, row.homeFolder);
        EXPECT_EQ(run.status, row.status);
        EXPECT_THAT(run.out, row.out);
        EXPECT_THAT(run.err, StartsWith(row.errStart));
        EXPECT_EQ(run.err.find("Usage: ") != std::string::npos, row.status == 2) << "the usage text on bad arguments";
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(oddSheet));
    EXPECT_FALSE(std::filesystem::exists(home.folder() + "unwritten.png"));

    const std::string watched = makeFolder("watched");
    // env runs the tool in its own place, so the interrupt reaches the tool.
    QProcess tool;
    tool.start("env", {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", TH_EXPORT_TOOL,
                       QString::fromStdString(project), "--watch", "--template", "sprites", "--sheet",
                       QString::fromStdString(watched + "sheet.png"), "--script",
                       QString::fromStdString(watched + "sheet.csv")});
    ASSERT_TRUE(tool.waitForStarted(5000));
    QStringList lines;
    const auto waitForLines = [&](int count) {
        QDeadlineTimer deadline(10000);
        while (lines.size() < count && !deadline.hasExpired() && tool.state() == QProcess::Running) {
            tool.waitForReadyRead(200);
            while (tool.canReadLine())
                lines.push_back(QString::fromUtf8(tool.readLine()).trimmed());
        }
        return lines.size();
    };
    const QRegularExpression exported(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d exported .*/sheet\\.png, .*/sheet\\.csv$"));

    ASSERT_EQ(waitForLines(1), 1) << tool.readAllStandardError().toStdString();
    const std::string first = readBytes(watched + "sheet.png");
    writePng(home.folder() + "c.png", 12, 8, qRgba(10, 10, 200, 255));
    ASSERT_EQ(waitForLines(2), 2) << tool.readAllStandardError().toStdString();
    EXPECT_NE(readBytes(watched + "sheet.png"), first) << "the sheet shows the changed picture";
    writeBytes(project, readBytes(project));
    ASSERT_EQ(waitForLines(3), 3) << tool.readAllStandardError().toStdString();

    ::kill(pid_t(tool.processId()), SIGINT);
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    for (const QString& line : lines)
        EXPECT_TRUE(exported.match(line).hasMatch()) << line.toStdString();
    EXPECT_EQ(tool.readAllStandardOutput(), QByteArray()) << "one line an export, no more";
    EXPECT_EQ(th::testing::namesIn(watched), (std::vector<std::string>{"sheet.csv", "sheet.png"}));
}

// What the next start offers and says is the project's own test; here the
// window keeps its arrangement after each change, with no wait, as a change
// ends, but not while a sprite is held. A kept arrangement that cannot be
// written (a folder in its place) is reported once, tried again at each
// change, and its failure ends with the first write that succeeds.
TEST_F(ProjectWindowTest, ArrangementIsKeptAfterEachChangeButNotWhileHeldAndAFailureIsToldOnce)
{
    const std::string kept = dataFolder + th::project::kAutosaveName;
    window->keepArrangement(kept, std::chrono::milliseconds(0));
    arrangeCanvas();
    QApplication::processEvents(); // the wait ends
    const std::string arranged = readBytes(kept);
    ASSERT_FALSE(arranged.empty());

    // A change just before a sprite is held: its wait ends while the sprite
    // moves, and nothing is written until the release.
    const th::canvas::SpriteEntry& top = window->model().sprites().entries().back();
    const QPoint held(top.x + 1, top.y + 1);
    QTest::mouseMove(window->canvasView(), held);
    static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector))->setCurrentIndex(2);
    QTest::mousePress(window->canvasView(), Qt::LeftButton, {}, held);
    dragTo({300, 300});
    QApplication::processEvents();
    EXPECT_EQ(readBytes(kept), arranged);
    release({301, 301});
    window->finishKeeping();
    EXPECT_NE(readBytes(kept), arranged) << "the way out keeps the last change at once";

    std::unique_ptr<MainWindow> next = freshWindow();
    host.answers = {true};
    next->keepArrangement(kept);
    EXPECT_EQ(describe(next->model()), describe(window->model()));
    next.reset();

    std::filesystem::remove(kept);
    std::filesystem::create_directory(kept);
    const auto importAndKeep = [&] {
        importPicture(home.folder() + "c.png");
        QApplication::processEvents(); // the wait ends
    };
    const auto notices = [&] { return std::ranges::count(host.titles(), "Arrangement Not Kept"); };
    importAndKeep();
    ASSERT_EQ(notices(), 1);
    EXPECT_EQ(host.shown.back().kind, "message");
    EXPECT_THAT(host.shown.back().text, AllOf(StartsWith("The arrangement could not be kept in " + kept),
                                              EndsWith(". Tile Heron tries again at the next change.")));
    importAndKeep();
    EXPECT_EQ(notices(), 1) << "told once, not at every change";

    std::filesystem::remove(kept);
    importAndKeep();
    EXPECT_TRUE(std::filesystem::is_regular_file(kept)) << "tried again at the next change";
    EXPECT_FALSE(std::filesystem::exists(kept + th::project::kFailedSuffix));
    EXPECT_EQ(notices(), 1);

    std::filesystem::remove(kept);
    std::filesystem::create_directory(kept);
    importAndKeep();
    EXPECT_EQ(notices(), 2) << "a success ended the failure, so a new one is told";
}

// One file is one decoded picture, however its sprites came: imported,
// dropped, opened from a project or brought back by an undo. A file that
// changed since is a picture of its own.
TEST_F(ProjectWindowTest, SpritesOfOneFileShareOnePicture)
{
    const std::string file = home.folder() + "a.png";
    writePng(file, 30, 20, qRgba(10, 20, 30, 255));
    importPicture(file);
    importPicture(file);
    emit window->canvasView()->dropped(std::vector<std::string>{file}, QPoint(200, 100));
    host.paths.push_back(home.folder() + "three.theron");
    window->menuAction(kMenuSaveProjectAs)->trigger();
    host.answers = {true};
    host.paths.push_back(home.folder() + "three.theron");
    window->menuAction(kMenuOpenProject)->trigger();
    window->menuAction(kMenuUndo)->trigger();
    window->menuAction(kMenuRedo)->trigger();

    const auto images = [this] {
        const auto handles = window->model().sprites().entries() | std::views::transform(&th::canvas::SpriteEntry::image);
        return std::set<th::canvas::ImageHandle>(handles.begin(), handles.end());
    };
    ASSERT_EQ(window->model().sprites().size(), 3u);
    EXPECT_EQ(images().size(), 1u);
    const th::canvas::ImageHandle shared = *images().begin();

    const auto written = std::filesystem::last_write_time(file);
    writePng(file, 30, 20, qRgba(200, 20, 30, 255));
    std::filesystem::last_write_time(file, written + std::chrono::seconds(1)); // a modification time of its own
    importPicture(file);
    ASSERT_EQ(window->model().sprites().size(), 4u);
    EXPECT_EQ(images().size(), 2u);
    const th::canvas::SpriteEntry& changed = window->model().sprites().entries().back();
    EXPECT_NE(changed.image, shared);
    EXPECT_EQ(canvasPixels().pixel(changed.x + 1, changed.y + 1), qRgba(200, 20, 30, 255));
}

} // namespace
