#pragma once
// Qt's form of the editor themes: an editor's tiled background, font and
// caret (the colours of its tokens are TokenColouring's).

#include "editor/Themes.h"

#include <QColor>
#include <QFont>
#include <QPixmap>

#include <array>

class QPlainTextEdit;

namespace th::editor {

QColor qtColour(const ThemeColour& colour);

// The theme's background tile, decoded through the image library.
QPixmap themeTile(int theme);

class ThemeLook {
public:
    // Decodes the five tiles once, for every editor of a window.
    ThemeLook();

    // Background, font and caret of the theme.
    void giveLook(QPlainTextEdit& editor, int theme) const;
    const QPixmap& tile(int theme) const;

    // The theme's font at 14 points; where the host lacks it, a stand-in of
    // the same kind chosen here: the fixed system font, or the host's serif
    // family. Left to the font matcher, a missing monospace family can come
    // back as a proportional font on a host with many fonts.
    static QFont font(const Theme& theme);

private:
    std::array<QPixmap, kThemes.size()> tiles_;
};

} // namespace th::editor
