#include "export/TemplateEngine.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using th::canvas::SpriteEntry;
using th::canvas::SpriteList;
using th::exporting::ClipboardText;
using th::exporting::expandTemplate;
using th::exporting::ExpansionResult;
using th::exporting::ScriptFile;
using th::exporting::ScriptInputs;
using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;

void addSprite(SpriteList& list, std::int32_t index, const std::string& name)
{
    SpriteEntry entry;
    entry.index = index;
    entry.name = name;
    entry.x = index * 10;
    entry.width = 10;
    entry.height = 10;
    list.add(entry);
}

// Writes the template into the home folder and expands it to clipboard text.
std::string clipboardExpansion(const TempHome& home, const std::string& templateBytes, const SpriteList& sprites)
{
    const auto templateFile = home.path() / "t.txt";
    writeBytes(templateFile, templateBytes);
    ClipboardText clipboard;
    EXPECT_EQ(expandTemplate(templateFile, clipboard, sprites, {}), ExpansionResult::Written);
    return clipboard.text();
}

TEST(ExpandTemplate, TheClipboardTextEndsEveryLineWithCrLf)
{
    TempHome home;
    SpriteList sprites;
    addSprite(sprites, 1, "walk01.png");
    addSprite(sprites, 2, "walk02.png");
    EXPECT_EQ(clipboardExpansion(home, "th.Extension = \"Clipboard\"\nfirst\n\nth.Repeat\n th.ImageName\nth.Until = 2\nlast",
                                 sprites),
              "first\r\n\r\n walk01\r\n walk02\r\nlast\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()), std::filesystem::directory_iterator()), 1)
        << "the clipboard form creates no file";
}

TEST(ExpandTemplate, TheScriptFileReplacesAnExistingOne)
{
    TempHome home;
    const auto templateFile = home.path() / "t.txt";
    const auto script = home.path() / "out.plist";
    writeBytes(templateFile, "a\nb\n");
    writeBytes(script, "an older and longer script\n");
    SpriteList sprites;
    ScriptFile file(script);
    ASSERT_EQ(expandTemplate(templateFile, file, sprites, {}), ExpansionResult::Written);
    EXPECT_EQ(readBytes(script), "a\nb\n");
}

TEST(ExpandTemplate, AnUnreadableTemplateEndsAtOnceAndLeavesTheDestinationAlone)
{
    TempHome home;
    const auto script = home.path() / "out.txt";
    writeBytes(script, "kept\n");
    SpriteList sprites;
    addSprite(sprites, 1, "a.png");

    ScriptFile file(script);
    EXPECT_EQ(expandTemplate(home.path() / "deleted.txt", file, sprites, {}), ExpansionResult::TemplateUnreadable);
    EXPECT_EQ(expandTemplate(home.path(), file, sprites, {}), ExpansionResult::TemplateUnreadable);
    EXPECT_EQ(readBytes(script), "kept\n");

    ClipboardText clipboard;
    EXPECT_EQ(expandTemplate(home.path() / "deleted.txt", clipboard, sprites, {}),
              ExpansionResult::TemplateUnreadable);
    EXPECT_EQ(clipboard.text(), "");
}

TEST(ExpandTemplate, AScriptFileThatCannotBeCreatedIsReported)
{
    TempHome home;
    const auto templateFile = home.path() / "t.txt";
    writeBytes(templateFile, "line\n");
    SpriteList sprites;
    ScriptFile inMissingFolder(home.path() / "missing" / "out.txt");
    EXPECT_EQ(expandTemplate(templateFile, inMissingFolder, sprites, {}), ExpansionResult::DestinationFailed);
    ScriptFile onAFolder(home.path());
    EXPECT_EQ(expandTemplate(templateFile, onAFolder, sprites, {}), ExpansionResult::DestinationFailed);
}

TEST(ExpandTemplate, AReusedClipboardTextHoldsOnlyTheLatestExpansion)
{
    TempHome home;
    const auto templateFile = home.path() / "t.txt";
    writeBytes(templateFile, "th.Repeat\nth.ImageNumber\nth.Until = th.ImageCount\nend th.ImageNumber\n");
    SpriteList sprites;
    addSprite(sprites, 1, "a.png");
    addSprite(sprites, 2, "b.png");
    ClipboardText clipboard;
    ASSERT_EQ(expandTemplate(templateFile, clipboard, sprites, {}), ExpansionResult::Written);
    ASSERT_EQ(expandTemplate(templateFile, clipboard, sprites, {}), ExpansionResult::Written);
    EXPECT_EQ(clipboard.text(), "1\r\n2\r\nend 2\r\n");
}

TEST(ExpandTemplate, TheSpriteListIsOnlyRead)
{
    TempHome home;
    SpriteList sprites;
    addSprite(sprites, 1, "a.png");
    addSprite(sprites, 2, "b.png");
    addSprite(sprites, 3, "c.png");
    sprites.hitTest(25, 5);
    const SpriteEntry* current = sprites.current();
    EXPECT_EQ(clipboardExpansion(home, "th.Repeat\nth.ImageName th.ImageX\nth.Until = 5\n", sprites),
              "a 10\r\nb 20\r\nc 30\r\nb 20\r\nb 20\r\n");
    EXPECT_EQ(sprites.current(), current);
    EXPECT_EQ(sprites.entries().back().name, "b.png");
}

} // namespace
