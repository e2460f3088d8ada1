// Token rules the golden cases under templates/ do not reach: the base name's
// edge cases, values past 32 bits and the sheet name of odd paths.

#include "export/TemplateTokens.h"
#include "testing/PlacedSprite.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using th::exporting::ScriptInputs;
using th::exporting::TokenReplacer;

TEST(ImageBaseName, RemovesEveryOccurrenceOfTheLastFourCharactersInOneScan)
{
    const std::pair<const char*, const char*> cases[] = {
        {"walk01.png", "walk01"}, {"a.png.png", "a"}, {".pngx.png", "x"}, {"hero.jpeg", "hero."},
        {"aaaaa", "a"}, {"..pngpng.png", ".png"}, {".png", ""}, {"a.p", ""}, {"", ""},
        // Characters, not bytes.
        {"sprite\xC3\xA9\xC3\xA8\xC3\xAA\xC3\xAB", "sprite"}, {"h\xC3\xA9ro\xE2\x80\xA6.png", "h\xC3\xA9ro\xE2\x80\xA6"},
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", ""},
    };
    for (const auto& [name, base] : cases)
        EXPECT_EQ(th::exporting::imageBaseName(name), base) << name;
}

TEST(TokenValues, ValuesBeyondThirtyTwoBitsAreNotCutShortAndNoSpriteReadsZero)
{
    ScriptInputs inputs;
    inputs.clipMargin = 8;
    inputs.sheetWidth = 5000000000;
    TokenReplacer tokens(inputs, 1);
    const auto far = th::testing::placed(INT32_MAX, INT32_MIN, INT32_MIN, 0);
    const auto replaced = [&](const th::canvas::SpriteEntry* sprite) {
        std::string line = "th.ImageX th.ImageY th.ImageWidth th.ImageHeight th.ImageRotate th.SheetWidth";
        tokens.setSprite(sprite);
        tokens.apply(line);
        return line;
    };
    EXPECT_EQ(replaced(&far), "2147483655 -2147483648 -2147483664 0 false 5000000000");
    EXPECT_EQ(replaced(nullptr), "0 0 0 0 false 5000000000");
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
