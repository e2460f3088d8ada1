#pragma once
// The names of the template language, in one table: what each token is
// called, which group the editor colours it with, and what its button in the
// script editor inserts. The export's engine, the token buttons and the
// colouring all read it, so a name is spelt in one place only.

#include <array>
#include <cstddef>
#include <string_view>

namespace th::toolkit {

// In the order of the editor's token buttons; Columns, which has no button,
// comes last. The engine replaces the value tokens in its own order
// (kReplacedTokens below).
enum class Token {
    ImageX,
    ImageY,
    ImageWidth,
    ImageHeight,
    ImageRotate,
    ImageName,
    ImageNumber,
    ImageCount,
    SheetWidth,
    SheetHeight,
    SheetName,
    SheetNumber,
    Repeat,
    Until,
    Extension,
    Separator,
    ImageFile,
    Animation,
    FrameNumber,
    TrimWidth,
    TrimHeight,
    SourceWidth,
    SourceHeight,
    ClipMargin,
    PivotX,
    PivotY,
    TurnClockwise,
    Columns,
};

enum class TokenGroup { Image, Sheet, Control };

struct TokenInfo {
    Token token;
    std::string_view name;
    TokenGroup group;
    // What the token's button inserts; empty for a token without a button.
    std::string_view inserted;
};

inline constexpr std::string_view kTokenPrefix = "th.";

// Names are found as substrings, so no name may be the start of another.
inline constexpr std::array<TokenInfo, 28> kTemplateTokens = {{
    {Token::ImageX, "th.ImageX", TokenGroup::Image, "th.ImageX"},
    {Token::ImageY, "th.ImageY", TokenGroup::Image, "th.ImageY"},
    {Token::ImageWidth, "th.ImageWidth", TokenGroup::Image, "th.ImageWidth"},
    {Token::ImageHeight, "th.ImageHeight", TokenGroup::Image, "th.ImageHeight"},
    {Token::ImageRotate, "th.ImageRotate", TokenGroup::Image, "th.ImageRotate"},
    {Token::ImageName, "th.ImageName", TokenGroup::Image, "th.ImageName"},
    {Token::ImageNumber, "th.ImageNumber", TokenGroup::Image, "th.ImageNumber"},
    {Token::ImageCount, "th.ImageCount", TokenGroup::Image, "th.ImageCount"},
    {Token::SheetWidth, "th.SheetWidth", TokenGroup::Sheet, "th.SheetWidth"},
    {Token::SheetHeight, "th.SheetHeight", TokenGroup::Sheet, "th.SheetHeight"},
    {Token::SheetName, "th.SheetName", TokenGroup::Sheet, "th.SheetName"},
    {Token::SheetNumber, "th.SheetNumber", TokenGroup::Sheet, "th.SheetNumber"},
    {Token::Repeat, "th.Repeat", TokenGroup::Control, "th.Repeat"},
    {Token::Until, "th.Until", TokenGroup::Control, "th.Until"},
    {Token::Extension, "th.Extension", TokenGroup::Control, "th.Extension = "},
    {Token::Separator, "th.Separator", TokenGroup::Control, "th.Separator"},
    {Token::ImageFile, "th.ImageFile", TokenGroup::Image, "th.ImageFile"},
    {Token::Animation, "th.Animation", TokenGroup::Image, "th.Animation"},
    {Token::FrameNumber, "th.FrameNumber", TokenGroup::Image, "th.FrameNumber"},
    {Token::TrimWidth, "th.TrimWidth", TokenGroup::Image, "th.TrimWidth"},
    {Token::TrimHeight, "th.TrimHeight", TokenGroup::Image, "th.TrimHeight"},
    {Token::SourceWidth, "th.SourceWidth", TokenGroup::Image, "th.SourceWidth"},
    {Token::SourceHeight, "th.SourceHeight", TokenGroup::Image, "th.SourceHeight"},
    {Token::ClipMargin, "th.ClipMargin", TokenGroup::Image, "th.ClipMargin"},
    {Token::PivotX, "th.PivotX", TokenGroup::Image, "th.PivotX"},
    {Token::PivotY, "th.PivotY", TokenGroup::Image, "th.PivotY"},
    {Token::TurnClockwise, "th.TurnClockwise", TokenGroup::Control, "th.TurnClockwise"},
    {Token::Columns, "th.Columns", TokenGroup::Sheet, ""},
}};

constexpr const TokenInfo& tokenInfo(Token token)
{
    return kTemplateTokens[static_cast<std::size_t>(token)];
}

constexpr std::string_view tokenName(Token token)
{
    return tokenInfo(token).name;
}

// The tokens that stand for values, in the order the engine replaces them:
// the first twelve as they always were, then the later ones, so a template
// without the later names expands as before.
inline constexpr std::array<Token, 23> kReplacedTokens = {
    Token::ImageX,      Token::ImageY,      Token::ImageWidth,  Token::ImageHeight, Token::ImageRotate,
    Token::ImageName,   Token::ImageNumber, Token::ImageCount,  Token::SheetWidth,  Token::SheetHeight,
    Token::SheetName,   Token::SheetNumber, Token::Separator,   Token::ImageFile,   Token::Animation,
    Token::FrameNumber, Token::TrimWidth,   Token::TrimHeight,  Token::SourceWidth, Token::SourceHeight,
    Token::ClipMargin,  Token::PivotX,      Token::PivotY,
};

// The table is indexed by the enumeration, so their orders must agree.
static_assert([] {
    for (std::size_t i = 0; i < kTemplateTokens.size(); ++i)
        if (static_cast<std::size_t>(kTemplateTokens[i].token) != i)
            return false;
    return true;
}());

static_assert([] {
    for (const TokenInfo& a : kTemplateTokens)
        for (const TokenInfo& b : kTemplateTokens)
            if (a.token != b.token && b.name.starts_with(a.name))
                return false;
    return true;
}());

} // namespace th::toolkit
