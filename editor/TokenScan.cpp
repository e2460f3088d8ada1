#include "editor/TokenScan.h"

#include "toolkit/TemplateTokens.h"

#include <string>

namespace th::editor {

namespace {

constexpr std::u16string_view kPrefix = u"th.";

bool isAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

TokenColour colourOf(toolkit::TokenGroup group)
{
    switch (group) {
    case toolkit::TokenGroup::Image: return TokenColour::Image;
    case toolkit::TokenGroup::Sheet: return TokenColour::Sheet;
    case toolkit::TokenGroup::Control: return TokenColour::Control;
    }
    return TokenColour::Plain;
}

// The word holds ASCII letters only, so a byte copy compares with the names.
const toolkit::TokenInfo* tokenNamed(std::u16string_view word)
{
    const std::string name(word.begin(), word.end());
    for (const toolkit::TokenInfo& token : toolkit::kTemplateTokens)
        if (token.name == name)
            return &token;
    return nullptr;
}

} // namespace

TokenScan scanTokens(std::u16string_view text)
{
    TokenScan scan;
    std::size_t repeatStart = 0;
    for (std::size_t p = text.find(kPrefix); p != std::u16string_view::npos; ) {
        std::size_t end = p + kPrefix.size();
        while (end < text.size() && isAsciiLetter(text[end]))
            ++end;
        const TextRange word{p, end - p};
        if (const toolkit::TokenInfo* token = tokenNamed(text.substr(p, end - p))) {
            scan.words.push_back({word, colourOf(token->group)});
            if (token->token == toolkit::Token::Repeat)
                repeatStart = p;
            else if (token->token == toolkit::Token::Until)
                scan.repeatBlocks.push_back({repeatStart, end - repeatStart});
        }
        p = text.find(kPrefix, end);
    }
    return scan;
}

} // namespace th::editor
