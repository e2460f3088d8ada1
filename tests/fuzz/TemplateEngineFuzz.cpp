// The template engine over any template file and a small fixed sprite list:
// the expansion is written in full to the clipboard text, every line ended
// by CR LF.

#include "FuzzTarget.h"

#include "export/TemplateEngine.h"

#include <cstdlib>

namespace {

th::canvas::SpriteList fixedSprites()
{
    th::canvas::SpriteList sprites;
    const th::canvas::SpriteEntry entries[] = {
        {.image = 1, .x = 0, .y = 0, .width = 16, .height = 8, .name = "a.png", .index = 1},
        {.image = 2, .x = 16, .y = 0, .width = 9, .height = 33, .rotated = true, .name = "th.ImageNumber.png", .index = 2},
        {.image = 3, .x = -3, .y = 40, .width = 1, .height = 1, .name = "", .index = 3},
    };
    for (const auto& entry : entries)
        sprites.insert(sprites.size(), entry);
    return sprites;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const th::canvas::SpriteList sprites = fixedSprites();
    const std::filesystem::path file = th::fuzz::scratchFolder() / "template.txt";
    th::fuzz::putFile(file, data, size);
    th::exporting::ScriptInputs inputs{.clipMargin = int(size % 3), .retina = size % 2 == 1, .sheetWidth = 64,
                                       .sheetHeight = 48, .sheetPath = "/out/sheet.png", .sheetNumber = "7"};
    th::exporting::ClipboardText text;
    const auto expansion = th::exporting::expandTemplate(file, text, sprites, inputs);
    if (expansion.result != th::exporting::ExpansionResult::Written)
        std::abort();
    if (!text.text().empty() && !text.text().ends_with("\r\n"))
        std::abort();
    return 0;
}
