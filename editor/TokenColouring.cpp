#include "editor/TokenColouring.h"

#include "editor/ThemeLook.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace th::editor {

TokenColouring::TokenColouring(QPlainTextEdit& editor)
    : QObject(&editor)
    , editor_(editor)
{
    connect(editor.verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { showInView(); });
    editor.viewport()->installEventFilter(this);
}

bool TokenColouring::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
        showInView();
    return QObject::eventFilter(watched, event);
}

TokenColouring& TokenColouring::of(QPlainTextEdit& editor)
{
    if (auto* existing = editor.findChild<TokenColouring*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new TokenColouring(editor);
}

void TokenColouring::recolour(const Theme& theme)
{
    theme_ = &theme;
    const QString text = editor_.toPlainText();
    textLength_ = std::size_t(text.size());
    scan_ = scanTokens({reinterpret_cast<const char16_t*>(text.utf16()), textLength_});
    showInView();
}

void TokenColouring::showInView()
{
    // While the text is being replaced the view moves before the new text is
    // scanned; the old scan's places may lie past the new end.
    if (!theme_ || textLength_ != std::size_t(editor_.document()->characterCount() - 1))
        return;
    const QRect view = editor_.viewport()->rect();
    const std::size_t first = std::size_t(editor_.cursorForPosition(view.topLeft()).block().position());
    const QTextBlock lastBlock = editor_.cursorForPosition(view.bottomRight()).block();
    const std::size_t last = std::min(textLength_, std::size_t(lastBlock.position() + lastBlock.length()));
    if (first >= last && textLength_ > 0)
        return;

    // The painter skips a text colour whose area touches text it already
    // drew in another colour, unless the colour comes with a background; so
    // every text colour carries a clear one, the repeat blocks' backgrounds
    // go first, and plain text is only the gaps between the words.
    QList<QTextEdit::ExtraSelection> selections;
    const auto add = [&](std::size_t from, std::size_t to, const QTextCharFormat& format) {
        const std::size_t start = std::max(from, first);
        const std::size_t end = std::min(to, last);
        if (start >= end)
            return;
        QTextCursor cursor(editor_.document());
        cursor.setPosition(int(start));
        cursor.setPosition(int(end), QTextCursor::KeepAnchor);
        selections.push_back({cursor, format});
    };
    QTextCharFormat block;
    block.setBackground(qtColour(theme_->repeatBackground));
    for (const TextRange& range : scan_.repeatBlocks)
        add(range.start, range.start + range.length, block);
    const auto textFormat = [](const QColor& colour) {
        QTextCharFormat format;
        format.setForeground(colour);
        format.setBackground(Qt::transparent);
        return format;
    };
    const QTextCharFormat plain = textFormat(qtColour(theme_->plain));
    const auto inView = std::lower_bound(scan_.words.begin(), scan_.words.end(), first,
                                         [](const ColouredWord& word, std::size_t at) {
                                             return word.range.start + word.range.length <= at;
                                         });
    std::size_t plainFrom = first;
    for (auto word = inView; word != scan_.words.end() && word->range.start < last; ++word) {
        add(plainFrom, word->range.start, plain);
        add(word->range.start, word->range.start + word->range.length,
            textFormat(qtColour(theme_->colourOf(word->colour))));
        plainFrom = word->range.start + word->range.length;
    }
    add(plainFrom, last, plain);
    editor_.setExtraSelections(selections);
}

} // namespace th::editor
