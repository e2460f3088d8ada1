#include "files/FolderListing.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

namespace {

using th::testing::TempHome;
using th::testing::writeBytes;

// An empty folder lists nothing; a missing one cannot be listed at all.
TEST(FolderListing, MatchesCaseSensitivelySortsByBytesAndReportsAnUnlistableFolder)
{
    TempHome home;
    EXPECT_EQ(th::files::listFolder(home.folder(), "*.png"), std::vector<std::string>{});
    EXPECT_FALSE(th::files::listFolder(home.folder() + "missing/", "*.png"));
    for (const char* name : {"b.png", "a.png", "B.png", ".hidden.png", "upper.PNG", "note.txt", "a.png.bak"})
        writeBytes(home.path() / name, "x");
    std::filesystem::create_directory(home.path() / "folder.png");
    EXPECT_EQ(th::files::listFolder(home.folder(), "*.png"),
              (std::vector<std::string>{".hidden.png", "B.png", "a.png", "b.png", "folder.png"}));
}

} // namespace
