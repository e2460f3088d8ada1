#include "app/PackPreferences.h"

#include "testing/TempHome.h"
#include "toolkit/PreferenceStore.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;
using th::toolkit::PreferenceStore;

const std::string kInstalledPreferences = "\xEF\xBB\xBF\n[Examples]\nHTML5 = 1\n";

} // namespace

// The packing choices live in the same preference file, in their own group.
TEST(PackPreferences, PackingChoicesAreKeptInThePreferenceFileWithTheGapHeldToSixteen)
{
    TempHome home;
    const std::string file = home.folder() + "TileHeronV2.prefs";
    PreferenceStore store;
    const struct {
        const char* stored; // the group's text, appended to the file
        std::pair<int, bool> read;
        int gap, expectedGap;
        bool turn;
        const char* written;
    } rows[] = {
        {"", {0, false}, 5, 5, true, "[Canvas]\nPackGap = 5\nPackMayTurn = 1\n"},
        {"[Canvas]\nPackGap = 12\nPackMayTurn = 1\n", {12, true}, 40, 16, false, "[Canvas]\nPackGap = 16\nPackMayTurn = 0\n"},
        // A damaged gap is read as none.
        {"[Canvas]\nPackGap = -7\n", {0, false}, -1, 0, false, "[Canvas]\nPackGap = 0\nPackMayTurn = 0\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        writeBytes(file, kInstalledPreferences + row.stored);
        ASSERT_TRUE(store.open(file));
        th::app::PackPreferences choices;
        choices.keepIn(store);
        EXPECT_EQ(std::pair(choices.gap(), choices.mayTurn()), row.read);
        choices.setGap(row.gap);
        choices.setMayTurn(row.turn);
        EXPECT_EQ(choices.gap(), row.expectedGap);
        store.close();
        EXPECT_EQ(readBytes(file), kInstalledPreferences + row.written);
    }
}
