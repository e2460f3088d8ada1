#include "export/TemplateTokens.h"

#include "export/TextEdits.h"

namespace th::exporting {

namespace {

// The order matters: see TokenReplacer. Its values_ follow the same order.
constexpr std::array<std::string_view, TokenReplacer::kTokenCount> kTokens = {
    "th.ImageX",      "th.ImageY",     "th.ImageWidth",  "th.ImageHeight",
    "th.ImageRotate", "th.ImageName",  "th.ImageNumber", "th.ImageCount",
    "th.SheetWidth",  "th.SheetHeight", "th.SheetName",  "th.SheetNumber",
};

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
    values_[7] = std::to_string(imageCount);
    values_[8] = std::to_string(inputs.sheetWidth / divisor_);
    values_[9] = std::to_string(inputs.sheetHeight / divisor_);
    values_[10] = fileNamePart(inputs.sheetPath);
    values_[11] = inputs.sheetNumber;
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
    values_[0] = std::to_string(box.left / divisor_);
    values_[1] = std::to_string(box.top / divisor_);
    values_[2] = std::to_string(box.width / divisor_);
    values_[3] = std::to_string(box.height / divisor_);
    values_[4] = sprite && sprite->rotated ? "true" : "false";
    values_[5] = sprite ? imageBaseName(sprite->name) : std::string();
    values_[6] = std::to_string(sprite ? sprite->index : 0);
}

void TokenReplacer::apply(std::string& line) const
{
    if (!contains(line, "th."))
        return;
    for (std::size_t token = 0; token < kTokens.size(); ++token)
        replaceAll(line, kTokens[token], values_[token]);
}

} // namespace th::exporting
