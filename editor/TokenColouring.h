#pragma once
// The colours of one editor's tokens. Each recolouring scans the whole text;
// the colours go on as extra selections, which are drawn over the text but
// are not part of it, so they never enter the undo history nor mark a script
// as edited. Only the part in view is turned into selections, and again on
// every scroll or resize: a selection costs a layout of its lines, which for
// a whole large template would take far longer than a keystroke may.

#include "editor/Themes.h"
#include "editor/TokenScan.h"

#include <QObject>

class QPlainTextEdit;

namespace th::editor {

class TokenColouring : public QObject {
    Q_OBJECT
public:
    // Belongs to the editor and follows its scrolling.
    explicit TokenColouring(QPlainTextEdit& editor);

    // The colouring of `editor`, made on first use.
    static TokenColouring& of(QPlainTextEdit& editor);

    // Scans the whole text and shows it in the theme's colours.
    void recolour(const Theme& theme);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showInView();

    QPlainTextEdit& editor_;
    const Theme* theme_ = nullptr;
    TokenScan scan_;
    std::size_t textLength_ = 0;
};

} // namespace th::editor
