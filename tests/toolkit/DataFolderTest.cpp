#include "toolkit/DataFolder.h"

#include "toolkit/PreferenceStore.h"
#include "testing/TempHome.h"
#include "toolkit/HostVersion.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using th::toolkit::prepareDataFolder;
using th::toolkit::PreferenceStore;
using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;

constexpr int kModern = th::toolkit::kHostVersionModern;
constexpr int kSnowLeopard = 10600;
const std::string kInstalledPreferences = "\xEF\xBB\xBF\n[Examples]\nHTML5 = 1\n";

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

TEST_F(DataFolderTest, FirstRunInstallsThePreferencesAndEveryTemplateInTheShortLayout)
{
    const std::string folder = run();
    EXPECT_EQ(folder, shortFolder());
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), kInstalledPreferences);
    EXPECT_EQ(th::testing::namesIn(folder), (std::vector<std::string>{"Clipboard.txt", "HTML5.txt", "Multi Loops.txt",
                                                                      "Pure Data.txt", "TileHeronV2.prefs", "plist.txt"}));
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
    EXPECT_TRUE(fs::is_empty(shortFolder()));

    EXPECT_EQ(run(10700), shortFolder());
}

// Deleted or edited templates stay as the user left them while the key is
// there; without it HTML5 comes back once, where nothing is in its way.
TEST_F(DataFolderTest, LaterRunsRewriteNothingTheUserChangedAndAddHtml5OnceWithoutTheKey)
{
    const std::string folder = run();
    const std::string firstHtml = readBytes(folder + "HTML5.txt");
    fs::remove(folder + "HTML5.txt");
    fs::remove(folder + "plist.txt");
    writeBytes(folder + "Clipboard.txt", "edited");
    writeBytes(folder + ".th-Ab12Z9", "left by a crash");
    run();
    EXPECT_FALSE(fs::exists(folder + ".th-Ab12Z9"));
    EXPECT_FALSE(fs::exists(folder + "HTML5.txt"));
    EXPECT_FALSE(fs::exists(folder + "plist.txt"));
    EXPECT_EQ(readBytes(folder + "Clipboard.txt"), "edited");
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), kInstalledPreferences);

    writeBytes(folder + "TileHeronV2.prefs", "\xEF\xBB\xBF\n; mine\n");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt"), firstHtml);
    EXPECT_FALSE(fs::exists(folder + "plist.txt"));
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), "\xEF\xBB\xBF\n; mine\n[Examples]\nHTML5 = 1\n");

    // The user's own file (or anything else of that name) stays; so does the key.
    writeBytes(folder + "HTML5.txt", "my page");
    writeBytes(folder + "TileHeronV2.prefs", "[Examples]\nHTML5 = 0\n");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt"), "my page");
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), "[Examples]\nHTML5 = 0\n");
}

// A preference file that cannot be read (here a folder, which root cannot
// read either) counts as a first run; a folder in a template's place stays.
TEST_F(DataFolderTest, BrokenFilesAndFoldersAreNeverFatal)
{
    const std::string folder = shortFolder();
    fs::create_directories(folder + "TileHeronV2.prefs");
    fs::create_directories(folder + "plist.txt");
    writeBytes(home.path() / "outside.txt", "untouched");
    run();
    EXPECT_TRUE(fs::is_directory(folder + "TileHeronV2.prefs"));
    EXPECT_TRUE(fs::is_directory(folder + "plist.txt"));
    EXPECT_TRUE(fs::is_regular_file(folder + "Clipboard.txt"));
    EXPECT_EQ(readBytes(home.path() / "outside.txt"), "untouched");

    // A preference file of random bytes is an existing installation.
    fs::remove_all(folder);
    run();
    const std::string html = readBytes(folder + "HTML5.txt");
    writeBytes(folder + "TileHeronV2.prefs", th::testing::noiseBytes(4096, 7));
    fs::remove(folder + "HTML5.txt");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt"), html);
}

} // namespace
