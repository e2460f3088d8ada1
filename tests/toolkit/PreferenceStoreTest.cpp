#include "toolkit/PreferenceStore.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using th::toolkit::PreferenceStore;
using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;

const std::string kMark = "\xEF\xBB\xBF\n";

// Each case: the file's bytes, what is done with the store, and the bytes
// saved when it closes. How the file is replaced (mode, temporaries) is the
// writer's to keep right.
TEST(PreferenceStore, SavedBytesFollowTheFileFormat)
{
    TempHome home;
    const std::filesystem::path file = home.path() / "TileHeronV2.prefs";
    PreferenceStore store; // one for every row: close() leaves nothing behind
    struct Case {
        const char* rule;
        std::optional<std::string> before; // none: no file
        std::function<void(PreferenceStore&)> change;
        std::optional<std::string> after;
        bool create = false;
    };
    const std::string noise = th::testing::noiseBytes(64 * 1024, 12345);
    const std::string withNuls("a = 1\0b = 2\n[G\0roup]\n", 21);
    const std::string longLine = "k = " + std::string(10 * 1024 * 1024, 'x');
    const Case cases[] = {
        {"create empties the file until written", "[old]\nkey = value\n", [](PreferenceStore&) {}, "", true},
        {"create writes the mark, header and key", "[old]\nkey = value\n",
         [](PreferenceStore& s) { s.selectGroup("Examples"); s.writeInteger("HTML5", 1); },
         kMark + "[Examples]\nHTML5 = 1\n", true},
        {"a missing file reads defaults and stays missing", std::nullopt,
         [](PreferenceStore& s) { EXPECT_EQ(s.readInteger("k", 4), 4); }, std::nullopt},
        {"a missing file is created when written", std::nullopt,
         [](PreferenceStore& s) { s.selectGroup("Theme"); s.writeInteger("SavedTheme", 1); },
         kMark + "[Theme]\nSavedTheme = 1\n"},
        {"without the mark, even UTF-8 is ISO 8859-1, converted and saved with the mark",
         "[G]\nname = caf\xE9\nutf = \xC3\xA9\n",
         [](PreferenceStore& s) {
             s.selectGroup("G");
             EXPECT_EQ(s.readText("name", ""), "caf\xC3\xA9");
             s.writeInteger("n", 1);
         },
         kMark + "[G]\nname = caf\xC3\xA9\nutf = \xC3\x83\xC2\xA9\nn = 1\n"},
        {"a zero-byte file is saved without the mark", "", [](PreferenceStore& s) { s.writeText("k", "v"); },
         "k = v\n"},
        {"keys match ignoring the case of ASCII letters only and keep their place; case variants are one key",
         kMark + "[Theme]\nsavedtheme = 3\nother = 1\nAbc = 1\n\xC3\xA9t\xC3\xA9 = 1\n",
         [](PreferenceStore& s) {
             s.selectGroup("THEME");
             EXPECT_EQ(s.readInteger("SavedTheme", 0), 3);
             EXPECT_EQ(s.readInteger("\xC3\x89T\xC3\x89", 7), 7);
             EXPECT_EQ(s.readInteger("\xC3\xA9T\xC3\xA9", 7), 1);
             s.writeInteger("SavedTheme", 2);
             s.writeInteger("ABC", 5);
             s.removeKey("abc");
         },
         kMark + "[Theme]\nSavedTheme = 2\nother = 1\n\xC3\xA9t\xC3\xA9 = 1\n"},
        {"blanks, comments and headers are normalised; a line without = is a key with an empty value; line ends "
         "in values become blanks",
         "  \t key \t=  value with tail  \r;tight\r\n;  two spaces\nlonely key  \n[Group] trailing text\n[Open\n\n\n",
         [](PreferenceStore& s) {
             EXPECT_EQ(s.readText("key", ""), "value with tail");
             EXPECT_EQ(s.readText("lonely key", "x"), "");
             s.writeInteger("added", -5);
             s.writeText("multi", "one\ntwo\rthree");
         },
         kMark + "key = value with tail  \n; tight\n;  two spaces\nlonely key = \nadded = -5\nmulti = one two three\n"
                 "[Group]\n[Open]\n"},
        {"new keys go after their group, top-level ones before the first group",
         kMark + "[A]\na = 1\n; note\n[B]\nb = 2\n",
         [](PreferenceStore& s) {
             s.selectGroup("A");
             s.writeText("a2", "x");
             s.selectGroup("");
             s.writeText("top", "t");
             s.selectGroup("Missing");
             EXPECT_EQ(s.readText("b", "default"), "default");
             EXPECT_FALSE(s.firstKey());
             s.writeText("m", "new");
         },
         kMark + "top = t\n[A]\na = 1\n; note\na2 = x\n[B]\nb = 2\n[Missing]\nm = new\n"},
        {"reads stay in the selected group; the key walk skips comments; an unchanged file is left untouched",
         kMark + "top = 9\n[A]\r\n\r\n  a=  1  \n; skip\nb = 4\n[B]\nb = 2\n",
         [](PreferenceStore& s) {
             EXPECT_EQ(s.readInteger("top", 0), 9);
             EXPECT_EQ(s.readInteger("a", 0), 0);
             EXPECT_TRUE(s.selectGroup("a"));
             EXPECT_EQ(s.readInteger("top", -1), -1);
             ASSERT_TRUE(s.firstKey());
             std::vector<std::string> values;
             while (s.nextKey())
                 values.push_back(s.currentValue(""));
             EXPECT_EQ(values, (std::vector<std::string>{"1", "4"}));
             EXPECT_EQ(s.currentValue("none"), "none");
         },
         kMark + "top = 9\n[A]\r\n\r\n  a=  1  \n; skip\nb = 4\n[B]\nb = 2\n"},
        // Hostile files are read without harm; left unchanged, they stay as they are.
        {"random bytes", noise, [](PreferenceStore& s) { s.readInteger("x", 0); }, noise},
        {"NUL bytes end nothing", withNuls,
         [](PreferenceStore& s) {
             EXPECT_EQ(s.readInteger("a", 0), 1);
             EXPECT_EQ(s.readInteger("b", 0), 2);
         },
         withNuls},
        {"a 10 MiB line is one value, read and saved whole", longLine,
         [&](PreferenceStore& s) {
             EXPECT_EQ(s.readText("k", "").size(), longLine.size() - 4);
             s.writeText("b", std::string(100000, 'v'));
         },
         kMark + longLine + "\nb = " + std::string(100000, 'v') + "\n"},
        // Root included, a file its owner may not write is nobody's to
        // replace: the store saves through the writer, never over the file.
        {"a file made read-only is kept", kMark + "a = 1\n",
         [&](PreferenceStore& s) {
             std::filesystem::permissions(file, std::filesystem::perms::owner_read);
             s.writeInteger("a", 2);
         },
         kMark + "a = 1\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        if (c.before)
            writeBytes(file, *c.before);
        EXPECT_EQ(c.create ? store.create(file) : store.open(file), c.create || c.before.has_value());
        c.change(store);
        store.close();
        EXPECT_EQ(std::filesystem::exists(file) ? std::optional(readBytes(file)) : std::nullopt, c.after);
        std::filesystem::remove(file);
    }
}

TEST(PreferenceIntegers, ReadLikeTheCLibraryClampedToThirtyTwoBits)
{
    const std::pair<const char*, long long> cases[] = {
        {"42abc", 42}, {"abc", 0}, {"  -17", -17}, {"+8", 8}, {"- 8", 0},
        {"99999999999999999999", 2147483647}, {"-2147483648", -2147483648LL}, {"-99999999999", -2147483648LL},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(PreferenceStore::parseInteger(text), value) << text;
}

} // namespace
