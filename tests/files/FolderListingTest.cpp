#include "files/FolderListing.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

namespace {

using th::testing::TempHome;
using th::testing::writeBytes;

TEST(FolderListing, MatchesCaseSensitivelyAndSortsByBytes)
{
    TempHome home;
    for (const char* name : {"b.png", "a.png", "B.png", ".hidden.png", "upper.PNG", "note.txt", "a.png.bak"})
        writeBytes(home.path() / name, "x");
    std::filesystem::create_directory(home.path() / "folder.png");
    const auto names = th::files::listFolder(home.folder(), "*.png");
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{".hidden.png", "B.png", "a.png", "b.png", "folder.png"}));
}

TEST(FolderListing, AnUnlistableFolderIsReported)
{
    TempHome home;
    EXPECT_FALSE(th::files::listFolder(home.folder() + "missing/", "*.png"));
    const auto empty = th::files::listFolder(home.folder(), "*.png");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

} // namespace
