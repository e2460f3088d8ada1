#pragma once
// The five script templates a new installation receives, as data.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace th::toolkit {

struct TemplateLine {
    int leadingBlanks;
    std::string_view text;
};

struct DefaultTemplate {
    std::string_view fileName;
    std::span<const TemplateLine> lines;
};

// In installation order: "plist.txt", "Pure Data.txt", "Multi Loops.txt",
// "Clipboard.txt", "HTML5.txt".
std::span<const DefaultTemplate> defaultTemplates();
const DefaultTemplate& html5Template();

// Creates (or replaces) folder + fileName and writes the template's lines.
// False when the file could not be written; callers at start-up ignore it.
bool writeDefaultTemplate(const std::string& folder, const DefaultTemplate& entry);

} // namespace th::toolkit
