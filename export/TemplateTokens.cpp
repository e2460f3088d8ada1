#include "export/TemplateTokens.h"

#include "export/TextEdits.h"

namespace th::exporting {

namespace {

using toolkit::Token;

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Where the last `count` UTF-8 characters of `text` begin.
std::size_t startOfLastCharacters(std::string_view text, int count)
{
    std::size_t start = text.size();
    for (int taken = 0; taken < count && start > 0; ++taken) {
        --start;
        while (start > 0 && isContinuationByte(text[start]))
            --start;
    }
    return start;
}

std::string fileNamePart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string imageBaseName(std::string_view fileName)
{
    std::string name(fileName);
    const std::string suffix = name.substr(startOfLastCharacters(name, 4));
    removeAll(name, suffix);
    return name;
}

TokenReplacer::TokenReplacer(const ScriptInputs& inputs, std::size_t imageCount)
    : clipMargin_(inputs.clipMargin)
    , divisor_(inputs.retina ? 2 : 1)
{
    value(Token::ImageCount) = std::to_string(imageCount);
    value(Token::SheetWidth) = std::to_string(inputs.sheetWidth / divisor_);
    value(Token::SheetHeight) = std::to_string(inputs.sheetHeight / divisor_);
    value(Token::SheetName) = fileNamePart(inputs.sheetPath);
    value(Token::SheetNumber) = inputs.sheetNumber;
    fillSpriteValues(nullptr);
}

void TokenReplacer::setSprite(const canvas::SpriteEntry* sprite)
{
    if (sprite != sprite_)
        fillSpriteValues(sprite);
}

void TokenReplacer::fillSpriteValues(const canvas::SpriteEntry* sprite)
{
    sprite_ = sprite;
    const canvas::VisibleBox box = sprite ? canvas::visibleBox(*sprite, clipMargin_) : canvas::VisibleBox{};
    value(Token::ImageX) = std::to_string(box.left / divisor_);
    value(Token::ImageY) = std::to_string(box.top / divisor_);
    value(Token::ImageWidth) = std::to_string(box.width / divisor_);
    value(Token::ImageHeight) = std::to_string(box.height / divisor_);
    value(Token::ImageRotate) = sprite && sprite->rotated ? "true" : "false";
    value(Token::ImageName) = sprite ? imageBaseName(sprite->name) : std::string();
    value(Token::ImageNumber) = std::to_string(sprite ? sprite->index : 0);
}

void TokenReplacer::apply(std::string& line) const
{
    if (!contains(line, toolkit::kTokenPrefix))
        return;
    for (std::size_t token = 0; token < kTokenCount; ++token)
        replaceAll(line, toolkit::kTemplateTokens[token].name, values_[token]);
}

} // namespace th::exporting
