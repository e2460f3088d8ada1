#pragma once
// The th. tokens of a template that stand for values, and the texts that
// replace them.

#include "canvas/SpriteEntry.h"
#include "toolkit/TemplateTokens.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace th::exporting {

// What an export tells the template engine besides the sprites.
struct ScriptInputs {
    // The alpha clip of every sprite, in canvas pixels.
    std::int32_t clipMargin = 0;
    // Halves every position and size (but not numbers and counts).
    bool retina = false;
    // The sheet as written, after any power-of-two rounding.
    std::int64_t sheetWidth = 0;
    std::int64_t sheetHeight = 0;
    std::string sheetPath;
    // The sheet-number field's text as shown.
    std::string sheetNumber = "0";
};

// The file name without its extension, the way templates want it: the last
// four characters are taken and every occurrence of them is removed, so
// "a.png.png" gives "a" and a name of four characters or fewer gives "".
std::string imageBaseName(std::string_view fileName);

// A file name read as an animation's frame: the name without its extension
// and without the trailing frame number and the one "_", "-", " " or "."
// before it; the number as written without leading zeros, "0" when there is
// none. "run_07.png" is frame 7 of "run", "idle.png" frame 0 of "idle".
struct AnimationFrame {
    std::string animation;
    std::string frameNumber;
};
AnimationFrame animationFrame(std::string_view fileName);

// A pivot fraction with at most four decimals and no trailing zeros: "0.5",
// "1", "0.3333".
std::string pivotText(double fraction);

// Replaces the tokens of one line, in a fixed order so that a later token is
// also found inside the text an earlier one inserted (an image name holding
// "th.ImageNumber" gets the number). Tokens are case-sensitive; look-alikes
// such as "th.Columns" or "th.imagex" stay as they are.
class TokenReplacer {
public:
    static constexpr std::size_t kTokenCount = toolkit::kTemplateTokens.size();

    TokenReplacer(const ScriptInputs& inputs, std::size_t imageCount);

    // The sprite whose values the image tokens take from now on. Without one
    // (an emptied canvas, and at the start) they read 0, "false" and an empty
    // name. The sprite must stay unchanged while it is set.
    void setSprite(const canvas::SpriteEntry* sprite);
    // Whether th.Separator reads "," (a pass of a repeat block that another
    // pass follows) or nothing (the last pass, and outside blocks).
    void setSeparator(bool anotherPassFollows);
    void apply(std::string& line) const;

private:
    void fillSpriteValues(const canvas::SpriteEntry* sprite);

    std::int32_t clipMargin_;
    std::int64_t divisor_;
    const canvas::SpriteEntry* sprite_ = nullptr;
    std::string& value(toolkit::Token token) { return values_[static_cast<std::size_t>(token)]; }

    // Replacement texts by token; the sprite's are made once per sprite
    // rather than once per line. Control tokens keep an unused empty text.
    std::array<std::string, kTokenCount> values_;
};

} // namespace th::exporting
