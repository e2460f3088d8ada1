// Template rules the golden cases under templates/ do not reach: the leading
// number's edge cases, the first line's target, the base name's and the
// later tokens' edge cases, and the engine's failures, bounds and hangs.

#include "export/LeadingNumber.h"
#include "export/TemplateEngine.h"
#include "export/TemplateTarget.h"
#include "export/TemplateTokens.h"

#include "testing/PlacedSprite.h"
#include "testing/RecordingProgress.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

namespace {

using namespace th::exporting;
using th::testing::readBytes;
using th::testing::writeBytes;

TEST(LeadingNumber, ReadsDecimalHexAndBinaryUpToTheFirstOtherCharacter)
{
    const std::pair<const char*, std::int64_t> cases[] = {
        {"5", 5}, {"  \t 42", 42}, {"-17", -17}, {"+17", 17}, {"007", 7}, {"9a", 9},
        {"$10", 16}, {"$fF", 255}, {"$1g", 1}, {"-$10", -16}, {"%101", 5}, {"%1021", 2}, {"+%11", 3},
        // Without digits: zero.
        {"", 0}, {"th.ImageCount", 0}, {"-", 0}, {"- 5", 0}, {"$", 0}, {"$-1", 0}, {"%2", 0}, {"x12", 0}, {"\n12", 0},
        // Beyond 64 bits the value wraps instead of failing.
        {"9223372036854775807", INT64_MAX}, {"18446744073709551617", 1}, {"$10000000000000002", 2},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(readLeadingNumber(text), value) << '"' << text << '"';
}

TEST(TemplateTarget, FirstLineGivesTheClipboardOrTheExtension)
{
    const std::tuple<const char*, bool, const char*> cases[] = {
        // The word "Clipboard" anywhere, in that case only.
        {R"(th.Extension = ".txt" to Clipboard)", true, ""},
        {R"(th.Extension = "clipboard")", false, "clipboard"},
        // The text without blanks, "=", quotes and the directive itself.
        {R"(  th.Extension  =  " .l u a "  )", false, ".lua"},
        {"th.Extension = \".js\"\t", false, ".js\t"},
        {R"(# th.Extension = ".js")", false, "#.js"},
        {R"(th.Extension = ".th.Extension.x")", false, "..x"},
        {"th.Extension", false, ""},
        // Without the directive: a plain text script.
        {"", false, ".txt"},
        {R"(th.extension = ".plist")", false, ".txt"},
    };
    for (const auto& [line, clipboard, extension] : cases) {
        const auto target = templateTarget(line);
        EXPECT_EQ(std::pair(target.clipboard, target.extension), std::pair(clipboard, std::string(extension))) << line;
    }
}

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
        EXPECT_EQ(imageBaseName(name), base) << name;
}

// Sizes, clip and Retina for the later tokens, and the usual separator,
// are the gallery's golden cases; these are the names and pivots they miss.
TEST(TokenReplacer, LaterTokensTakeTheFrameFromTheFileNameAndRoundPivots)
{
    const char* const frame = "th.ImageFile|th.Animation|th.FrameNumber";
    const char* const pivot = "th.PivotX,th.PivotY";
    // The sprite's name and pivot, a line and what it becomes.
    const std::tuple<const char*, double, double, const char*, const char*> rows[] = {
        // The trailing number and the one separator before it.
        {"jump 000.png", 0.5, 0.5, frame, "jump 000.png|jump|0"},
        {"fall.3.png", 0.5, 0.5, frame, "fall.3.png|fall|3"},
        {"hit__2.png", 0.5, 0.5, frame, "hit__2.png|hit_|2"},
        {"v2_a.png", 0.5, 0.5, frame, "v2_a.png|v2_a|0"},
        {"42.png", 0.5, 0.5, frame, "42.png||42"},
        {"tile-07", 0.5, 0.5, frame, "tile-07|tile|7"},
        {"a.b_99999999999999999999999.png", 0.5, 0.5, "th.Animation th.FrameNumber", "a.b 99999999999999999999999"},
        // Pivots: up to four decimals, no trailing zeros.
        {"s.png", 1.0 / 3, 0.125, pivot, "0.3333,0.125"},
        {"s.png", -0.25, 2.99996, pivot, "-0.25,3"},
        {"s.png", -0.00004, 1e300, pivot, "0,1000000000"},
        // After the first twelve, in order: a name holding a later token gets it.
        {"th.FrameNumber_5.png", 0.5, 0.5, "th.ImageName th.ImageFile", "5_5 5_5.png"},
    };
    for (const auto& [name, pivotX, pivotY, text, expected] : rows) {
        SCOPED_TRACE(name);
        th::canvas::SpriteEntry sprite = th::testing::placed(3, 5, 1, 1, false, name, 1);
        sprite.pivotX = pivotX;
        sprite.pivotY = pivotY;
        TokenReplacer tokens({}, 1);
        tokens.setSprite(&sprite);
        std::string line = text;
        tokens.apply(line);
        EXPECT_EQ(line, expected);
    }
}

// A destination that takes a few lines, then no more.
class FullAfter final : public ScriptDestination {
public:
    explicit FullAfter(int lines) : room_(lines) {}
    th::files::FileResult begin() override { return {}; }
    bool writeLine(std::string_view) override { return ++offered <= room_; }
    th::files::FileResult finish() override { return th::files::failure(th::files::FileError::NoSpace, ENOSPC); }
    int offered = 0;

private:
    int room_;
};

TEST(ExpandTemplate, ManyRepeatLinesAreLookedAheadOnceAndTheFirstRefusedLineEndsEvenABillionPassExpansion)
{
    th::testing::TempHome home;
    const auto file = [&home](const char* name) { return home.path() / name; };
    th::canvas::SpriteList sprites;
    for (const char* name : {"a.png", "b.png", "c.png"})
        sprites.insert(sprites.size(), th::testing::placed(10 * (sprites.size() + 1), 0, 10, 10, false, name, sprites.size() + 1));

    // Repeat lines without an end are looked ahead once, not once each.
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "th.Repeat\n";
    writeBytes(file("t.txt"), text + "done\n");
    ScriptFile lookedAhead(file("out.txt"));
    ASSERT_EQ(expandTemplate(file("t.txt"), lookedAhead, sprites, {}).result, ExpansionResult::Written);
    EXPECT_EQ(readBytes(file("out.txt")), "done\n");

    writeBytes(file("t.txt"), "th.Repeat\nline th.ImageNumber\nth.Until = $7FFFFFFF\n");
    FullAfter full(3);
    const Expansion expansion = expandTemplate(file("t.txt"), full, sprites, {});
    EXPECT_EQ(expansion.result, ExpansionResult::DestinationFailed);
    EXPECT_EQ(expansion.problem.cause, th::files::FileError::NoSpace);
    EXPECT_EQ(full.offered, 4);

    // The clipboard's text stops at its bound and is given up.
    ClipboardText clipboard(1000);
    EXPECT_EQ(expandTemplate(file("t.txt"), clipboard, sprites, {}).result, ExpansionResult::DestinationFailed);
    EXPECT_EQ(clipboard.text(), "");

    // Or the user stops it, and the older script stays as it was.
    writeBytes(file("out.txt"), "older\n");
    th::testing::RecordingProgress progress;
    progress.stopAt = "Writing the script: 8192 lines";
    {
        ScriptFile script(file("out.txt"));
        EXPECT_EQ(expandTemplate(file("t.txt"), script, sprites, {}, &progress).result, ExpansionResult::Cancelled);
    }
    EXPECT_EQ(progress.steps, (std::vector<std::string>{"Writing the script: 4096 lines", progress.stopAt}));
    EXPECT_EQ(readBytes(file("out.txt")), "older\n");
    EXPECT_EQ(th::testing::namesIn(home.path()), (std::vector<std::string>{"out.txt", "t.txt"}));
}

} // namespace
