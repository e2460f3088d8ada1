// The script library on a real data folder: what it lists, what each
// operation writes or refuses, and the exact words the user is shown.

#include "toolkit/PreferenceStore.h"
#include "editor/ScriptLibrary.h"

#include "testing/ScriptedHost.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using th::toolkit::PreferenceStore;
using th::editor::ScriptLibrary;
using th::testing::readBytes;
using th::testing::writeBytes;

// Case and byte order are the folder listing's test.
TEST(ScriptLibrary, ListsReadsCreatesSavesAndDeletesScriptsAskingFirstOrSayingWhyNot)
{
    th::testing::TempHome home;
    th::testing::ScriptedHost host{home.folder()};
    PreferenceStore store;
    store.open(home.path() / "TileHeronV2.prefs");
    ScriptLibrary library{home.folder(), store, host};
    const auto file = [&home](const std::string& name) { return home.folder() + name + ".txt"; };
    // The last thing shown, as "title|text".
    const auto lastShown = [&host] {
        return host.shown.empty() ? "" : host.shown.back().title + "|" + host.shown.back().text;
    };

    writeBytes(file("b"), "one\r\ntwo");
    writeBytes(file("a.txt"), "");
    std::filesystem::create_symlink(home.path() / "nowhere", file("dangling"));
    std::filesystem::create_directory(file("folder"));
    EXPECT_EQ(library.list(), (std::vector<std::string>{"a.txt", "b", "folder"}));

    EXPECT_EQ(library.read("b"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(library.read("a.txt"), std::vector<std::string>{""}) << "an empty file is one empty line";
    EXPECT_EQ(library.read("folder"), std::nullopt);
    EXPECT_TRUE(host.shown.empty());

    writeBytes(file("full"), "x");
    writeBytes(file("empty"), "");
    // A name, whether it is created, and what is shown.
    const std::tuple<std::string, bool, std::string> rows[] = {
        {"", false, "Script Name?|Please create a script name first."},
        {"full", false,
         "Wait!|The \"full\" script already exist. Please rename the new script or delete the old one."},
        {"empty", true, ""},
        {"Full", true, ""}, // another file here, whatever the map thinks of case
        {" padded ", true, ""},
    };
    for (const auto& [name, created, shown] : rows) {
        SCOPED_TRACE(name);
        host.shown.clear();
        EXPECT_EQ(library.create(name), created);
        EXPECT_EQ(lastShown(), shown);
        if (created) {
            EXPECT_EQ(readBytes(file(name)), "");
        }
    }
    EXPECT_EQ(readBytes(file("full")), "x");

    const std::string gone = home.folder() + "gone/";
    ScriptLibrary elsewhere{gone, store, host};
    EXPECT_FALSE(elsewhere.create("lost"));
    EXPECT_EQ(lastShown(), "Not Created!|The \"lost\" script could not be created as " + gone +
                               "lost.txt because the folder " + home.folder() + "gone does not exist.");

    // Save asks, then writes one line feed per line.
    writeBytes(file("s"), "\xEF\xBB\xBFold\r\n");
    host.answers = {false};
    EXPECT_FALSE(library.save("s", {"new"}));
    EXPECT_EQ(readBytes(file("s")), "\xEF\xBB\xBFold\r\n");
    EXPECT_EQ(lastShown(), "Overwrite Script?|Are you sure you want to overwrite the \"s\" script?");

    host.answers = {true};
    EXPECT_TRUE(library.save("s", *library.read("s")));
    EXPECT_EQ(readBytes(file("s")), "\xEF\xBB\xBFold\n") << "the mark stays, CR LF becomes LF";
    EXPECT_EQ(lastShown(), "Saved Script!|The \"s\" script was saved.");

    std::filesystem::remove(file("s"));
    std::filesystem::create_directory(file("s"));
    host.answers = {true};
    EXPECT_FALSE(library.save("s", {"lost?"}));
    EXPECT_EQ(lastShown(), "Not Saved!|The \"s\" script could not be saved as " + file("s") +
                               " because a folder of that name is in the way.");
    EXPECT_TRUE(std::filesystem::is_directory(file("s")));

    // Delete keeps the last script, asks, then forgets the file and its editor.
    writeBytes(file("d"), "x");
    library.registerEditor("d", 7);
    EXPECT_FALSE(library.remove("d", 1));
    EXPECT_EQ(lastShown(), "Wait!|There needs to be at least one script in the editor.");

    host.answers = {false, true};
    EXPECT_FALSE(library.remove("d", 2));
    EXPECT_EQ(lastShown(), "Delete Script?|Are you sure you want to delete the \"d\" script?");
    EXPECT_TRUE(std::filesystem::exists(file("d")));

    EXPECT_TRUE(library.remove("d", 2));
    EXPECT_FALSE(std::filesystem::exists(file("d")));
    store.selectGroup("Tab ID's");
    EXPECT_EQ(store.readInteger("d", 0), 0);
}

} // namespace
