#include "toolkit/DataFolder.h"

#include "toolkit/PreferenceStore.h"
#include "testing/TempHome.h"
#include "toolkit/HostVersion.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using th::testing::namesIn;
using th::testing::readBytes;
using th::testing::writeBytes;
using Names = std::vector<std::string>;

// Before 10.7 the data folder goes in the company's folder, keeping what is
// there. A preference file that cannot be read (here a folder, which root
// cannot read either) counts as a first run; a folder in a template's place
// stays. Later, deleted or edited templates stay as the user left them while
// the key is there; without it HTML5 comes back once, where nothing is in its
// way. A preference file of random bytes is an existing installation too.
TEST(DataFolder, FirstRunsInstallEverythingAndLaterRunsRewriteNothingTheUserChanged)
{
    th::testing::TempHome home;
    th::toolkit::PreferenceStore store;
    const auto run = [&](int hostVersion = th::toolkit::kHostVersionModern) {
        const std::string folder = th::toolkit::prepareDataFolder(home.folder(), hostVersion, store);
        store.close();
        return folder;
    };
    const std::string folder = home.folder() + "Library/Application Support/Tile Heron/";
    const std::string installedPreferences = "\xEF\xBB\xBF\n[Examples]\nHTML5 = 1\n";
    const fs::path company = home.path() / "Library/Application Support/Larkfield";
    fs::create_directories(company);
    writeBytes(company / "other.txt", "mine");
    fs::create_directories(folder);

    const std::string companyFolder = run(10600);
    EXPECT_EQ(companyFolder, home.folder() + "Library/Application Support/Larkfield/Tile Heron/");
    EXPECT_EQ(readBytes(company / "other.txt"), "mine");
    EXPECT_EQ(readBytes(companyFolder + "TileHeronV2.prefs"), installedPreferences);
    EXPECT_TRUE(fs::is_empty(folder));

    fs::create_directories(folder + "TileHeronV2.prefs");
    fs::create_directories(folder + "plist.txt");
    EXPECT_EQ(run(10700), folder);
    EXPECT_TRUE(fs::is_directory(folder + "TileHeronV2.prefs"));
    EXPECT_TRUE(fs::is_directory(folder + "plist.txt"));
    EXPECT_TRUE(fs::is_regular_file(folder + "Clipboard.txt"));
    EXPECT_EQ(namesIn(home.path()), Names{"Library"});

    fs::remove_all(folder);
    EXPECT_EQ(run(), folder);
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), installedPreferences);
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
    EXPECT_EQ(readBytes(folder + "TileHeronV2.prefs"), installedPreferences);

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
