// The engine's dealings with files and the sprite list; what the text
// becomes is covered by the golden cases under templates/.

#include "export/TemplateEngine.h"

#include "testing/PlacedSprite.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

namespace {

using th::exporting::ClipboardText;
using th::exporting::expandTemplate;
using th::exporting::ExpansionResult;
using th::exporting::ScriptFile;
using th::testing::readBytes;
using th::testing::writeBytes;

class ExpandTemplate : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a.png", "b.png", "c.png"})
            sprites.add(th::testing::placed(10 * (sprites.size() + 1), 0, 10, 10, false, name, sprites.size() + 1));
    }
    std::filesystem::path file(const char* name) const { return home.path() / name; }

    th::testing::TempHome home;
    th::canvas::SpriteList sprites;
};

TEST_F(ExpandTemplate, ReplacesAnExistingScriptAndKeepsOnlyTheLatestClipboardText)
{
    writeBytes(file("t.txt"), "th.Repeat\nth.ImageNumber\nth.Until = 2\nend th.ImageNumber\n");
    writeBytes(file("out.txt"), "an older and longer script\n");
    ScriptFile script(file("out.txt"));
    ASSERT_EQ(expandTemplate(file("t.txt"), script, sprites, {}), ExpansionResult::Written);
    EXPECT_EQ(readBytes(file("out.txt")), "1\n2\nend 2\n");
    ClipboardText clipboard;
    ASSERT_EQ(expandTemplate(file("t.txt"), clipboard, sprites, {}), ExpansionResult::Written);
    ASSERT_EQ(expandTemplate(file("t.txt"), clipboard, sprites, {}), ExpansionResult::Written);
    EXPECT_EQ(clipboard.text(), "1\r\n2\r\nend 2\r\n");
}

TEST_F(ExpandTemplate, AnUnreadableTemplateOrUnwritableScriptIsReportedAndTouchesNothing)
{
    writeBytes(file("out.txt"), "kept\n");
    ScriptFile script(file("out.txt"));
    EXPECT_EQ(expandTemplate(file("deleted.txt"), script, sprites, {}), ExpansionResult::TemplateUnreadable);
    EXPECT_EQ(expandTemplate(home.path(), script, sprites, {}), ExpansionResult::TemplateUnreadable);
    EXPECT_EQ(readBytes(file("out.txt")), "kept\n");
    ClipboardText clipboard;
    EXPECT_EQ(expandTemplate(file("deleted.txt"), clipboard, sprites, {}), ExpansionResult::TemplateUnreadable);
    EXPECT_EQ(clipboard.text(), "");

    writeBytes(file("t.txt"), "line\n");
    ScriptFile inMissingFolder(home.path() / "missing" / "out.txt");
    EXPECT_EQ(expandTemplate(file("t.txt"), inMissingFolder, sprites, {}), ExpansionResult::DestinationFailed);
    ScriptFile onAFolder(home.path());
    EXPECT_EQ(expandTemplate(file("t.txt"), onAFolder, sprites, {}), ExpansionResult::DestinationFailed);
}

TEST_F(ExpandTemplate, TheSpriteListIsOnlyRead)
{
    sprites.hitTest(25, 5);
    const th::canvas::SpriteEntry* current = sprites.current();
    writeBytes(file("t.txt"), "th.Repeat\nth.ImageName th.ImageX\nth.Until = 5\n");
    ClipboardText clipboard;
    ASSERT_EQ(expandTemplate(file("t.txt"), clipboard, sprites, {}), ExpansionResult::Written);
    EXPECT_EQ(clipboard.text(), "a 10\r\nb 20\r\nc 30\r\nb 20\r\nb 20\r\n");
    EXPECT_EQ(sprites.current(), current);
    EXPECT_EQ(sprites.entries().back().name, "b.png");
}

} // namespace
