#include "export/TemplateTokens.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using th::canvas::SpriteEntry;
using th::exporting::imageBaseName;
using th::exporting::ScriptInputs;
using th::exporting::TokenReplacer;

TEST(ImageBaseName, RemovesEveryOccurrenceOfTheLastFourCharacters)
{
    EXPECT_EQ(imageBaseName("walk01.png"), "walk01");
    EXPECT_EQ(imageBaseName("a.png.png"), "a");
    EXPECT_EQ(imageBaseName(".pngx.png"), "x");
    EXPECT_EQ(imageBaseName("hero.jpeg"), "hero.");
    EXPECT_EQ(imageBaseName("aaaaa"), "a");
    EXPECT_EQ(imageBaseName("ab.png"), "ab");
    // One scan: what comes together after a removal stays.
    EXPECT_EQ(imageBaseName("..pngpng.png"), ".png");
}

TEST(ImageBaseName, FourCharactersOrFewerLeaveNothing)
{
    EXPECT_EQ(imageBaseName(".png"), "");
    EXPECT_EQ(imageBaseName("a.p"), "");
    EXPECT_EQ(imageBaseName(""), "");
}

TEST(ImageBaseName, CountsCharactersNotBytes)
{
    EXPECT_EQ(imageBaseName("sprite\xC3\xA9\xC3\xA8\xC3\xAA\xC3\xAB"), "sprite");
    EXPECT_EQ(imageBaseName("h\xC3\xA9ro\xE2\x80\xA6.png"), "h\xC3\xA9ro\xE2\x80\xA6");
    EXPECT_EQ(imageBaseName("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"), "");
}

SpriteEntry box(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, bool rotated)
{
    SpriteEntry entry;
    entry.x = x;
    entry.y = y;
    entry.width = width;
    entry.height = height;
    entry.rotated = rotated;
    entry.name = "s.png";
    entry.index = 7;
    return entry;
}

std::string replaced(TokenReplacer& tokens, const SpriteEntry* sprite)
{
    std::string line = "th.ImageX th.ImageY th.ImageWidth th.ImageHeight th.ImageRotate";
    tokens.setSprite(sprite);
    tokens.apply(line);
    return line;
}

// Clip and retina values are covered by the golden cases clip_* and retina_*.
TEST(TokenValues, ValuesBeyondThirtyTwoBitsAreNotCutShort)
{
    ScriptInputs inputs;
    inputs.clipMargin = 8;
    inputs.sheetWidth = 5000000000;
    TokenReplacer tokens(inputs, 1);
    const SpriteEntry far = box(INT32_MAX, INT32_MIN, INT32_MIN, 0, false);
    EXPECT_EQ(replaced(tokens, &far), "2147483655 -2147483648 -2147483664 0 false");
    std::string line = "th.SheetWidth";
    tokens.apply(line);
    EXPECT_EQ(line, "5000000000");
}

TEST(TokenValues, WithoutASpriteTheSpriteTokensReadZero)
{
    ScriptInputs inputs;
    inputs.clipMargin = 4;
    inputs.sheetPath = "/tmp/out/sheet.png";
    TokenReplacer tokens(inputs, 0);
    const std::string pattern = "th.ImageX th.ImageY th.ImageWidth th.ImageHeight th.ImageRotate [th.ImageName] "
                                "th.ImageNumber th.ImageCount th.SheetName";
    std::string line = pattern;
    tokens.apply(line);
    EXPECT_EQ(line, "0 0 0 0 false [] 0 0 sheet.png");

    const SpriteEntry sprite = box(10, 5, 20, 40, true);
    tokens.setSprite(&sprite);
    tokens.setSprite(nullptr);
    line = pattern;
    tokens.apply(line);
    EXPECT_EQ(line, "0 0 0 0 false [] 0 0 sheet.png");
}

TEST(TokenValues, InsertedTextIsNotSearchedAgainForTheSameToken)
{
    SpriteEntry sprite = box(0, 0, 8, 8, false);
    sprite.name = "<th.ImageName>.png";
    std::string line = "th.ImageName|th.ImageName";
    TokenReplacer tokens(ScriptInputs(), 1);
    tokens.setSprite(&sprite);
    tokens.apply(line);
    EXPECT_EQ(line, "<th.ImageName>|<th.ImageName>");
}

TEST(TokenValues, TheSheetNameIsWhatFollowsTheLastSlash)
{
    for (const auto& [path, name] : {std::pair{"/a/b/hero.png", "hero.png"}, {"hero.png", "hero.png"},
                                     {"/a/b/", ""}, {"/a.b/c", "c"}}) {
        ScriptInputs inputs;
        inputs.sheetPath = path;
        std::string line = "<th.SheetName>";
        TokenReplacer(inputs, 0).apply(line);
        EXPECT_EQ(line, std::string("<") + name + ">") << path;
    }
}

} // namespace
