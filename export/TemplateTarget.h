#pragma once
// Where a template's script goes, as its first line says.

#include <filesystem>
#include <string>
#include <string_view>

namespace th::exporting {

struct ScriptTarget {
    // The script goes to the clipboard instead of a file.
    bool clipboard = false;
    // The script file's extension, such as ".plist"; empty for the clipboard.
    std::string extension;
};

// Evaluates a template's first line: "Clipboard" anywhere selects the
// clipboard; otherwise a "th.Extension" line gives the extension with every
// blank, "=", double quote and "th.Extension" taken out; otherwise ".txt".
ScriptTarget templateTarget(std::string_view firstLine);

// Whether any line of the template holds "th.TurnClockwise": the sheet then
// stores turned sprites a quarter turn clockwise, the way the engines that
// template writes for expect them, instead of the canvas's counter-clockwise
// turn. A template that cannot be read turns nothing.
bool templateTurnsClockwise(const std::filesystem::path& templateFile);

} // namespace th::exporting
