#pragma once
// The script editor's five themes as one table: the font, the caret, the
// colour of plain text and of each token group, the background of a repeat
// block, and the tile drawn behind the text. Colours are RGB components from
// 0 to 1. Plain C++; the window turns them into Qt's colours and fonts.

#include <array>
#include <string_view>

namespace th::editor {

struct ThemeColour {
    double r, g, b;
    double alpha = 1.0;
};

// What to use where the host lacks the theme's font.
enum class FontKind { Monospace, Serif };

// What a piece of template text is coloured as.
enum class TokenColour { Plain, Image, Sheet, Control };

struct Theme {
    std::string_view name;
    std::string_view font;
    FontKind fontKind;
    ThemeColour caret;
    ThemeColour plain;
    ThemeColour image;
    ThemeColour sheet;
    ThemeColour control;
    ThemeColour repeatBackground;
    // The background tile, a PNG in the program's resources.
    std::string_view tile;

    constexpr const ThemeColour& colourOf(TokenColour colour) const
    {
        switch (colour) {
        case TokenColour::Image: return image;
        case TokenColour::Sheet: return sheet;
        case TokenColour::Control: return control;
        case TokenColour::Plain: break;
        }
        return plain;
    }
};

inline constexpr int kThemeFontPoints = 14;
inline constexpr int kTypewriterTheme = 4;

inline constexpr ThemeColour kWhite{1, 1, 1};
inline constexpr ThemeColour kBlack{0, 0, 0};

// In the order of the editor's theme list; "SavedTheme" is an index here.
inline constexpr std::array<Theme, 5> kThemes = {{
    {"Default Theme", "Menlo", FontKind::Monospace, kWhite, {0.35, 0.6, 0.85}, {0.55, 0.55, 0.55},
     {0.95, 0.95, 0.95}, {1, 0.5, 0}, {0, 0, 0, 0.5}, ":/themes/theme-0.png"},
    {"Cocoa", "Menlo", FontKind::Monospace, kWhite, {0.75, 0.375, 0}, {1, 0.75, 0.5}, {0.95, 0.95, 0.95},
     {0.9, 0.125, 0}, {0, 0, 0, 0.4}, ":/themes/theme-1.png"},
    {"Girly", "Monaco", FontKind::Monospace, kWhite, {0.46, 0.52, 0.898}, {1, 0.5, 1}, {0.95, 0.95, 0.95},
     {0.49, 0.87, 0.52}, {0.57, 0, 1, 0.1}, ":/themes/theme-2.png"},
    {"RGB", "Menlo", FontKind::Monospace, kWhite, {0, 0.65, 0}, {0.75, 0, 0}, {0, 0, 0.75},
     {0.95, 0.95, 0.95}, {1, 1, 1, 0.05}, ":/themes/theme-3.png"},
    {"Typewriter", "American Typewriter", FontKind::Serif, kBlack, {0, 0, 0}, {0.4, 0.4, 0.85},
     {0.4, 0.4, 0.85}, {0.75, 0, 0}, {1, 1, 1, 0}, ":/themes/theme-4.png"},
}};

// The theme of a stored number; an out-of-range one gives the first.
constexpr const Theme& themeOf(int number)
{
    return number >= 0 && number < int(kThemes.size()) ? kThemes[std::size_t(number)] : kThemes[0];
}

} // namespace th::editor
