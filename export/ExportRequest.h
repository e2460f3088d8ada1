#pragma once
// One export, asked for in plain values: where the sheet goes and how it is
// written, which template makes the script and where the script goes. The
// export window fills it from its gadgets; a tool without windows or a saved
// project fills it the same way, and runExport (ExportRun.h) carries it out.

#include "export/SheetPixels.h"
#include "export/TemplateTarget.h"
#include "image/Color.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace th::exporting {

// Each choice table has a key, the word the command line and the project
// file use for the choice, and the label the export window lists.
struct DepthChoice {
    SheetDepth depth;
    std::string_view key;
    std::string_view label;
};
// In the order the export window lists them.
inline constexpr DepthChoice kDepthChoices[] = {
    {SheetDepth::Bits32, "32", "32 bit"}, {SheetDepth::Bits24, "24", "24 bit"}, {SheetDepth::Bits18, "18", "18 bit"},
    {SheetDepth::Bits12, "12", "12 bit"}, {SheetDepth::Bits8, "8", "8 bit"},    {SheetDepth::Bits4, "4", "4 bit"},
    {SheetDepth::Bits1, "1", "1 bit"},
};

struct BackgroundChoice {
    image::Colour colour;
    std::string_view key;
    std::string_view label;
};
inline constexpr BackgroundChoice kBackgroundChoices[] = {
    {kBlackBackground, "black", "RGB 0 0 0"},
    {kMagentaBackground, "magenta", "RGB 255 0 255"},
};

// The choice a key names, or null.
const DepthChoice* depthChoice(std::string_view key);
const BackgroundChoice* backgroundChoice(std::string_view key);
// The choice of a value; the first one for a value no choice has.
const DepthChoice& depthChoice(SheetDepth depth);
const BackgroundChoice& backgroundChoice(image::Colour colour);
// The keys for a message, each between `quote`s: "32, 24, 18, 12, 8, 4 or 1".
std::string depthKeys(std::string_view quote = {});
std::string backgroundKeys(std::string_view quote = {});

struct ExportRequest {
    std::string sheetPath;
    SheetDepth depth = SheetDepth::Bits32;
    image::Colour background = kBlackBackground;
    // Halves every position and size the script shows.
    bool retina = false;
    // Rounds each side of the sheet up to a power of two.
    bool powerOfTwo = false;
    // Pixels every visible box's edges are repeated outward, 0 to 8; the
    // sheet grows by as many on the right and at the bottom.
    int extrude = 0;
    // The script's th.SheetNumber.
    int sheetNumber = 0;
    // The template's file; nothing while no template is chosen (the sheet alone).
    std::optional<std::filesystem::path> templateFile;
    // Where the chosen template sends its script, as its first line says.
    ScriptTarget script;
    // The script file; unused when the script goes to the clipboard.
    std::string scriptPath;

    // Chooses the template (or none) and reads from its first line whether
    // its script goes to the clipboard or to a file with which extension.
    void chooseTemplate(std::optional<std::filesystem::path> file);
};

} // namespace th::exporting
