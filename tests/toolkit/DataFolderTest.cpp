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
using th::testing::namesIn;
using Names = std::vector<std::string>;

const std::string kInstalledPreferences = "\xEF\xBB\xBF\n[Examples]\nHTML5 = 1\n";

class DataFolderTest : public ::testing::Test {
protected:
    std::string run(int hostVersion = th::toolkit::kHostVersionModern)
    {
        const std::string folder = prepareDataFolder(home.folder(), hostVersion, store);
        store.close();
        return folder;
    }
    std::string shortFolder() const { return home.folder() + "Library/Application Support/Tile Heron/"; }

    TempHome home;
    PreferenceStore store;
};

// Deleted or edited templates stay as the user left them while the key is
// there; without it HTML5 comes back once, where nothing is in its way. A
// preference file of random bytes is an existing installation too.
TEST_F(DataFolderTest, FirstRunInstallsEverythingAndLaterRunsRewriteNothingTheUserChanged)
{
    const std::string folder = run();
    EXPECT_EQ(folder, shortFolder());
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), kInstalledPreferences);
    EXPECT_EQ(namesIn(folder), (Names{"Clipboard.txt", "HTML5.txt", "Multi Loops.txt", "Pure Data.txt",
                                      "TileHeronV2.prefs", "plist.txt"}));
    const std::string firstHtml = readBytes(folder + "HTML5.txt");
    fs::remove(folder + "HTML5.txt");
    fs::remove(folder + "plist.txt");
    writeBytes(folder + "Clipboard.txt", "edited");
    writeBytes(folder + ".th-Ab12Z9", "left by a crash");
    run();
    const Names withoutPlist = {"Clipboard.txt", "HTML5.txt", "Multi Loops.txt", "Pure Data.txt",
                                "TileHeronV2.prefs"};
    EXPECT_EQ(namesIn(folder), (Names{"Clipboard.txt", "Multi Loops.txt", "Pure Data.txt", "TileHeronV2.prefs"}));
    EXPECT_EQ(readBytes(folder + "Clipboard.txt"), "edited");
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), kInstalledPreferences);

    writeBytes(folder + "TileHeronV2.prefs", "\xEF\xBB\xBF\n; mine\n");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt"), firstHtml);
    EXPECT_EQ(namesIn(folder), withoutPlist);
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), "\xEF\xBB\xBF\n; mine\n[Examples]\nHTML5 = 1\n");

    writeBytes(folder + "TileHeronV2.prefs", th::testing::noiseBytes(4096, 7));
    fs::remove(folder + "HTML5.txt");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt"), firstHtml);
    EXPECT_EQ(namesIn(folder), withoutPlist);

    // The user's own file (or anything else of that name) stays; so does the key.
    writeBytes(folder + "HTML5.txt", "my page");
    writeBytes(folder + "TileHeronV2.prefs", "[Examples]\nHTML5 = 0\n");
    run();
    EXPECT_EQ(readBytes(folder + "HTML5.txt"), "my page");
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), "[Examples]\nHTML5 = 0\n");
}

// Before 10.7 the data folder goes in the company's folder, keeping what is
// there. A preference file that cannot be read (here a folder, which root
// cannot read either) counts as a first run; a folder in a template's place
// stays.
TEST_F(DataFolderTest, CompanyLayoutBefore10_7AndFoldersInTheFilesPlacesAreNeverFatal)
{
    const fs::path company = home.path() / "Library/Application Support/Larkfield";
    fs::create_directories(company);
    writeBytes(company / "other.txt", "mine");
    fs::create_directories(shortFolder());

    const std::string folder = run(10600);
    EXPECT_EQ(folder, home.folder() + "Library/Application Support/Larkfield/Tile Heron/");
    EXPECT_EQ(readBytes(company / "other.txt"), "mine");
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), kInstalledPreferences);
    EXPECT_TRUE(fs::is_empty(shortFolder()));

    fs::create_directories(shortFolder() + "TileHeronV2.prefs");
    fs::create_directories(shortFolder() + "plist.txt");
    EXPECT_EQ(run(10700), shortFolder());
    EXPECT_TRUE(fs::is_directory(shortFolder() + "TileHeronV2.prefs"));
    EXPECT_TRUE(fs::is_directory(shortFolder() + "plist.txt"));
    EXPECT_TRUE(fs::is_regular_file(shortFolder() + "Clipboard.txt"));
    EXPECT_EQ(namesIn(home.path()), Names{"Library"});
}

// Each side of both ends of the minor versions, and one step between two.
TEST(HostVersion, EachMinorVersionSpansSixteenPackedValues)
{
    const std::pair<int, int> cases[] = {
        {0, 10000},      {0x100F, 10000}, {0x1010, 10100}, {0x107F, 10700},
        {0x1080, 10800}, {0x108F, 10800}, {0x1090, 60000},
    };
    for (const auto& [packed, version] : cases)
        EXPECT_EQ(th::toolkit::hostVersionFromPacked(packed), version) << std::hex << packed;
}

} // namespace
