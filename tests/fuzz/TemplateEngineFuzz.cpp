// The template engine over any template file and a small fixed sprite list:
// the expansion is written in full to the clipboard text, every line ended
// by CR LF.
//
// A repeat limit is obeyed however large (extra passes repeat the last
// sprite), so "th.Until = $7FFFFFFF" runs two thousand million passes by
// design. Such templates are passed over: an "th.Until" line must read a
// limit of at most kMaxLimit or be the usual "th.Until = th.ImageCount",
// since other tokens could join into a long number once replaced.

#include "FuzzTarget.h"

#include "export/LeadingNumber.h"
#include "export/TemplateEngine.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::int64_t kMaxLimit = 64;

void removeAll(std::string& text, std::string_view part)
{
    for (std::size_t at; (at = text.find(part)) != std::string::npos;)
        text.erase(at, part.size());
}

bool limitsWithinReach(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(std::string_view("\n\r\0", 3)), text.size());
        std::string line(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.find("th.Until") == std::string::npos)
            continue;
        removeAll(line, "th.Until");
        removeAll(line, "=");
        removeAll(line, " ");
        if (line != "th.ImageCount"
            && (line.find("th.") != std::string::npos || std::abs(th::exporting::readLeadingNumber(line)) > kMaxLimit))
            return false;
    }
    return true;
}

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
    if (!limitsWithinReach({reinterpret_cast<const char*>(data), size}))
        return -1; // not added to the corpus
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
