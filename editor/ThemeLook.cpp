#include "editor/ThemeLook.h"

#include "image/ImageStore.h"
#include "image/QtPictures.h"
#include "image/StandardCodecs.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

// Resources built into a static library must be registered by hand.
static void registerThemeResources()
{
    Q_INIT_RESOURCE(themes);
}

namespace th::editor {

QColor qtColour(const ThemeColour& colour)
{
    return QColor::fromRgbF(float(colour.r), float(colour.g), float(colour.b), float(colour.alpha));
}

QPixmap themeTile(int theme)
{
    registerThemeResources();
    image::ImageStore images;
    image::registerStandardCodecs(images);
    return QPixmap::fromImage(image::resourcePicture(images, std::string(themeOf(theme).tile).c_str()));
}

ThemeLook::ThemeLook()
{
    for (std::size_t i = 0; i < kThemes.size(); ++i)
        tiles_[i] = themeTile(int(i));
}

const QPixmap& ThemeLook::tile(int theme) const
{
    return tiles_[theme >= 0 && theme < int(tiles_.size()) ? std::size_t(theme) : 0];
}

QFont ThemeLook::font(const Theme& theme)
{
    const QString family = QString::fromUtf8(theme.font.data(), qsizetype(theme.font.size()));
    QFont font;
    if (QFontDatabase::families().contains(family)) {
        font = QFont(family);
    } else if (theme.fontKind == FontKind::Serif) {
        QFont probe;
        probe.setStyleHint(QFont::Serif);
        font = QFont(probe.defaultFamily());
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
    font.setPointSize(kThemeFontPoints);
    return font;
}

// The caret is drawn in the palette's text colour; the text itself takes its
// colours from the token colouring.
void ThemeLook::giveLook(QPlainTextEdit& editor, int theme) const
{
    const Theme& look = themeOf(theme);
    QPalette palette = editor.palette();
    palette.setBrush(QPalette::Base, QBrush(tile(theme)));
    palette.setColor(QPalette::Text, qtColour(look.caret));
    editor.setPalette(palette);
    editor.setFont(font(look));
}

} // namespace th::editor
