// What the editor colours, as ranges and groups (positions in UTF-16 units).

#include "editor/TokenScan.h"

#include <gtest/gtest.h>

namespace {

using namespace th::editor;

TEST(TokenScan, ColoursTokenWordsByGroupAndMarksRepeatBlocks)
{
    constexpr auto I = TokenColour::Image;
    constexpr auto S = TokenColour::Sheet;
    constexpr auto C = TokenColour::Control;
    // The text, its coloured words and its repeat blocks.
    const std::tuple<std::u16string, std::vector<ColouredWord>, std::vector<TextRange>> rows[] = {
        {u"th.ImageX2", {{{0, 9}, I}}, {}},
        {u"th.ImageXY TH.ImageX th.imagex th. th.", {}, {}},
        {u"xth.SheetName", {{{1, 12}, S}}, {}},
        {u"th.Columns th.Extension", {{{0, 10}, S}, {{11, 12}, C}}, {}},
        {u"ab\nth.Until", {{{3, 8}, C}}, {{0, 11}}},
        {u"th.Repeat th.Repeat th.Until", {{{0, 9}, C}, {{10, 9}, C}, {{20, 8}, C}}, {{10, 18}}},
        {u"th.Repeat\nth.Until\nth.Repeat\nth.Until",
         {{{0, 9}, C}, {{10, 8}, C}, {{19, 9}, C}, {{29, 8}, C}},
         {{0, 18}, {19, 18}}},
        // The later tokens: separator and turn are control words, the rest image words.
        {u"}th.Separator th.PivotY th.TurnClockwise th.FrameNumber th.Frame",
         {{{1, 12}, C}, {{14, 9}, I}, {{24, 16}, C}, {{41, 14}, I}}, {}},
        // One unit for é, two for the emoji outside the basic plane.
        {u"\u00e9\U0001F600th.ImageName", {{{3, 12}, I}}, {}},
    };
    for (const auto& [text, words, blocks] : rows) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        const TokenScan scan = scanTokens(text);
        EXPECT_EQ(scan.words, words);
        EXPECT_EQ(scan.repeatBlocks, blocks);
    }
}

} // namespace
