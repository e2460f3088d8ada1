#include "app/DataFolder.h"

#include "editor/PreferenceStore.h"
#include "testing/TempHome.h"
#include "toolkit/HostVersion.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace fs = std::filesystem;
using th::app::prepareDataFolder;
using th::editor::PreferenceStore;
using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;

constexpr int kModern = th::toolkit::kHostVersionModern;
constexpr int kSnowLeopard = 10600;
const std::string kInstalledPreferences = "\xEF\xBB\xBF\n[Examples]\nHTML5 = 1\n";

struct ExpectedTemplate {
    const char* name;
    std::size_t lines;
    std::size_t bytes;
};
// Line counts and sizes worked out from the published template texts.
constexpr ExpectedTemplate kExpected[] = {
    {"plist.txt", 34, 1081},
    {"Pure Data.txt", 10, 280},
    {"Multi Loops.txt", 21, 298},
    {"Clipboard.txt", 11, 265},
    {"HTML5.txt", 58, 1494},
};

std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

class DataFolderTest : public ::testing::Test {
protected:
    std::string run(int hostVersion = kModern)
    {
        const std::string folder = prepareDataFolder(home.folder(), hostVersion, store);
        store.close();
        return folder;
    }
    std::string shortFolder() const { return home.folder() + "Library/Application Support/Tile Heron/"; }

    TempHome home;
    PreferenceStore store;
};

TEST_F(DataFolderTest, FirstRunInstallsEverythingInTheShortLayoutWithExactTrickyLines)
{
    const std::string folder = prepareDataFolder(home.folder(), kModern, store);
    EXPECT_EQ(folder, shortFolder());
    // The key reaches the disk only when the store closes.
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), "");
    store.close();
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), kInstalledPreferences);

    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 6u);
    for (const ExpectedTemplate& expected : kExpected) {
        const std::string bytes = readBytes(folder + expected.name);
        EXPECT_EQ(bytes.size(), expected.bytes) << expected.name;
        EXPECT_EQ(linesOf(bytes).size(), expected.lines) << expected.name;
    }
    const auto plist = linesOf(readBytes(folder + "plist.txt"));
    EXPECT_EQ(plist[2], R"(<!DOCTYPE plist PUBLIC "-//Apple Computer//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">)");
    EXPECT_EQ(plist[19], "                <th.ImageRotate/>");
    const auto pureData = linesOf(readBytes(folder + "Pure Data.txt"));
    EXPECT_EQ(pureData[2], R"( SpriteSheetth.SheetNumber: IncludeBinary "th.SheetName")");
    const auto loops = linesOf(readBytes(folder + "Multi Loops.txt"));
    EXPECT_EQ(loops[19], "The exported sprite sheet name\xE2\x80\xA6");
    EXPECT_EQ(loops[2], "");
    const auto clipboard = linesOf(readBytes(folder + "Clipboard.txt"));
    EXPECT_EQ(clipboard[0], R"(th.Extension = "Clipboard")");
    EXPECT_EQ(clipboard[4], "Let's get the image names...");
    EXPECT_EQ(clipboard[7], " th.ImageName");
    const auto html = linesOf(readBytes(folder + "HTML5.txt"));
    EXPECT_EQ(html[2], R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">)");
    EXPECT_EQ(html[37], "            c.drawImage(image, xpos, ypos, th.ImageWidth, th.ImageHeight, 0, 0, th.ImageWidth, th.ImageHeight);");
    EXPECT_EQ(html.back(), "</html>");
}

TEST_F(DataFolderTest, CompanyLayoutKeepsAnExistingCompanyFolderAndTheShortLayoutIgnoresIt)
{
    const fs::path company = home.path() / "Library/Application Support/Larkfield";
    fs::create_directories(company);
    writeBytes(company / "other.txt", "mine");
    fs::create_directories(shortFolder());

    const std::string folder = run(kSnowLeopard);
    EXPECT_EQ(folder, home.folder() + "Library/Application Support/Larkfield/Tile Heron/");
    EXPECT_EQ(readBytes(company / "other.txt"), "mine");
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), kInstalledPreferences);
    EXPECT_TRUE(fs::exists(folder + "HTML5.txt"));
    EXPECT_TRUE(fs::is_empty(shortFolder()));

    EXPECT_EQ(run(10700), shortFolder());
    EXPECT_EQ(readBytes(shortFolder() + "TileHeronV2.prefs"), kInstalledPreferences);
}

TEST_F(DataFolderTest, LaterRunRewritesNothingTheUserDeleted)
{
    const std::string folder = run();
    fs::remove(folder + "HTML5.txt");
    fs::remove(folder + "plist.txt");
    writeBytes(folder + "Clipboard.txt", "edited");
    run();
    EXPECT_FALSE(fs::exists(folder + "HTML5.txt"));
    EXPECT_FALSE(fs::exists(folder + "plist.txt"));
    EXPECT_EQ(readBytes(folder + "Clipboard.txt"), "edited");
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), kInstalledPreferences);
}

TEST_F(DataFolderTest, LaterRunAddsHtml5OnceWithoutTheKeyAndOnlyWhereNothingIsInTheWay)
{
    const std::string folder = run();
    const std::string firstHtml = readBytes(folder + "HTML5.txt");
    fs::remove(folder + "HTML5.txt");
    writeBytes(folder + "TileHeronV2.prefs", "\xEF\xBB\xBF\n; mine\n");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt"), firstHtml);
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), "\xEF\xBB\xBF\n; mine\n[Examples]\nHTML5 = 1\n");

    // The user's own file, or a folder of that name, stays; so does the key.
    writeBytes(folder + "HTML5.txt", "my page");
    writeBytes(folder + "TileHeronV2.prefs", "[Examples]\nHTML5 = 0\n");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt"), "my page");
    fs::remove(folder + "HTML5.txt");
    fs::create_directory(folder + "HTML5.txt");
    run();
    EXPECT_TRUE(fs::is_directory(folder + "HTML5.txt"));
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), "[Examples]\nHTML5 = 0\n");
}

TEST_F(DataFolderTest, UnreadablePreferencesCountAsAFirstRun)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root can read any file";
    const std::string folder = run();
    writeBytes(folder + "plist.txt", "edited");
    fs::permissions(folder + "TileHeronV2.prefs", fs::perms::none);
    run();
    EXPECT_NE(readBytes(folder + "plist.txt"), "edited");
}

TEST_F(DataFolderTest, BrokenFilesAndFoldersAreNeverFatal)
{
    const std::string folder = shortFolder();
    fs::create_directories(folder + "TileHeronV2.prefs");
    fs::create_directories(folder + "plist.txt");
    writeBytes(home.path() / "outside.txt", "untouched");
    run();
    EXPECT_TRUE(fs::is_directory(folder + "TileHeronV2.prefs"));
    EXPECT_TRUE(fs::is_directory(folder + "plist.txt"));
    EXPECT_EQ(readBytes(folder + "Clipboard.txt").size(), 265u);
    EXPECT_EQ(readBytes(home.path() / "outside.txt"), "untouched");

    // A preference file of random bytes is an existing installation.
    fs::remove_all(folder);
    run();
    std::string noise(4096, '\0');
    unsigned seed = 7;
    for (char& c : noise)
        c = char((seed = seed * 1103515245u + 12345u) >> 16);
    writeBytes(folder + "TileHeronV2.prefs", noise);
    fs::remove(folder + "HTML5.txt");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt").size(), 1494u);
}

} // namespace
