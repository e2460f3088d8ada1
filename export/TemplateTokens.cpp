#include "export/TemplateTokens.h"

#include "export/TextEdits.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

// The picture's own width and height, whether it lies turned or not.
struct PictureSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

PictureSize pictureSize(const canvas::SpriteEntry& sprite)
{
    return sprite.rotated ? PictureSize{sprite.height, sprite.width} : PictureSize{sprite.width, sprite.height};
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

AnimationFrame animationFrame(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    std::string_view stem = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
    std::size_t digits = stem.size();
    while (digits > 0 && isDigit(stem[digits - 1]))
        --digits;
    if (digits == stem.size())
        return {std::string(stem), "0"};
    // The number stays text, so no length of digits can overflow it.
    std::string_view number = stem.substr(digits);
    while (number.size() > 1 && number.front() == '0')
        number.remove_prefix(1);
    stem = stem.substr(0, digits);
    if (!stem.empty() && std::string_view("_- .").find(stem.back()) != std::string_view::npos)
        stem.remove_suffix(1);
    return {std::string(stem), std::string(number)};
}

std::string pivotText(double fraction)
{
    // Beyond this a pivot means nothing, and the rounding below stays exact.
    constexpr double kLimit = 1e9;
    if (!std::isfinite(fraction))
        fraction = 0.5;
    const std::int64_t tenThousandths = std::llround(std::clamp(fraction, -kLimit, kLimit) * 10000);
    const std::int64_t whole = tenThousandths / 10000;
    std::int64_t part = std::abs(tenThousandths % 10000);
    std::string text = (tenThousandths < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
    if (part == 0)
        return text;
    std::string decimals = std::to_string(part);
    decimals.insert(0, 4 - decimals.size(), '0');
    decimals.erase(decimals.find_last_not_of('0') + 1);
    return text + "." + decimals;
}

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
    value(Token::ClipMargin) = std::to_string(clipMargin_ / divisor_);
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

    value(Token::ImageFile) = sprite ? sprite->name : std::string();
    AnimationFrame frame = animationFrame(value(Token::ImageFile));
    value(Token::Animation) = std::move(frame.animation);
    value(Token::FrameNumber) = std::move(frame.frameNumber);
    const PictureSize picture = sprite ? pictureSize(*sprite) : PictureSize{};
    // An empty canvas has no picture to cut a margin from.
    const std::int64_t cut = sprite ? 2 * std::int64_t(clipMargin_) : 0;
    value(Token::TrimWidth) = std::to_string((picture.width - cut) / divisor_);
    value(Token::TrimHeight) = std::to_string(picture.height / divisor_);
    value(Token::SourceWidth) = std::to_string(picture.width / divisor_);
    value(Token::SourceHeight) = std::to_string(picture.height / divisor_);
    value(Token::PivotX) = pivotText(sprite ? sprite->pivotX : 0.5);
    value(Token::PivotY) = pivotText(sprite ? sprite->pivotY : 0.5);
}

void TokenReplacer::setSeparator(bool anotherPassFollows)
{
    value(Token::Separator) = anotherPassFollows ? "," : "";
}

void TokenReplacer::apply(std::string& line) const
{
    if (!contains(line, toolkit::kTokenPrefix))
        return;
    for (const Token token : toolkit::kReplacedTokens)
        replaceAll(line, toolkit::tokenName(token), values_[static_cast<std::size_t>(token)]);
}

} // namespace th::exporting
