#pragma once
// Expands a script template over the sprites of the canvas.
//
// Template lines that contain "th.Extension" are dropped; the lines between a
// "th.Repeat" line and a "th.Until" line are emitted once per sprite (taken
// by index) up to the limit written after "th.Until"; every other line has
// its tokens replaced (see TemplateTokens.h) and is written.

#include "canvas/SpriteList.h"
#include "export/ScriptDestination.h"
#include "export/TemplateTokens.h"
#include "toolkit/Progress.h"

#include <filesystem>
#include <string>
#include <vector>

namespace th::exporting {

enum class ExpansionResult {
    Written,
    // The template could not be read; the destination was not touched.
    TemplateUnreadable,
    // The destination could not be opened or did not take every line.
    DestinationFailed,
    // The user stopped it; the destination was never finished, so a script
    // file is left as it was.
    Cancelled,
};

struct Expansion {
    ExpansionResult result = ExpansionResult::Written;
    // Why the template could not be read or the destination failed.
    files::FileResult problem;
};

// Reads the template, then writes its expansion to the destination. The
// sprite list is only read. Sprites are found by their index; when no sprite
// has the wanted index the last of the list stands in.
// A repeat limit may ask for billions of passes, so the lines written are
// reported on `progress` now and then, and the user may stop there.
[[nodiscard]] Expansion expandTemplate(const std::filesystem::path& templateFile,
                                       ScriptDestination& destination,
                                       const canvas::SpriteList& sprites, const ScriptInputs& inputs,
                                       toolkit::Progress* progress = nullptr);
// The same for a template already at hand, one line per entry without line
// ends, such as the text of an editor.
[[nodiscard]] Expansion expandTemplate(std::vector<std::string> templateLines, ScriptDestination& destination,
                                       const canvas::SpriteList& sprites, const ScriptInputs& inputs,
                                       toolkit::Progress* progress = nullptr);

} // namespace th::exporting
