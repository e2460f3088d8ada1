#pragma once
// Finds what the script editor colours in a template: every "th." word with
// the group it belongs to, and the repeat blocks that get a background.
// Positions and lengths count UTF-16 units, as the editor addresses its text.
// Plain C++; the window turns the ranges into formats.

#include "editor/Themes.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace th::editor {

struct TextRange {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const TextRange&) const = default;
};

struct ColouredWord {
    TextRange range;
    TokenColour colour;
    bool operator==(const ColouredWord&) const = default;
};

struct TokenScan {
    // The token words, in text order; every other word stays plain.
    std::vector<ColouredWord> words;
    // From the last "th.Repeat" before each "th.Until" (or the start of the
    // text when there is none) to the end of that "th.Until".
    std::vector<TextRange> repeatBlocks;
};

// A word is "th." and the ASCII letters right after it; no boundary is
// needed before it, so "xth.SheetName" holds a token.
TokenScan scanTokens(std::u16string_view text);

} // namespace th::editor
