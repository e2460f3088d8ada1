// The script editor's preview: what the current template gives for the
// canvas as it is, expanded off the user-interface thread so typing is never
// held up.

#include "editor/ScriptEditorWindow.h"

#include "editor/PreviewText.h"
#include "editor/ScriptEditorLayout.h"
#include "export/PreviewLines.h"
#include "export/TemplateEngine.h"
#include "export/TemplateTarget.h"
#include "toolkit/PreferenceStore.h"
#include "toolkit/QtText.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTimer>

namespace th::editor {

namespace {

constexpr const char* kPreviewGroup = "Preview";
constexpr const char* kPreviewKey = "Shown";
// Long enough to let a burst of keys pass, short enough to feel immediate.
constexpr int kTypingPause = 50;

std::vector<std::string> editorLines(const QPlainTextEdit& editor)
{
    std::vector<std::string> lines;
    for (const QString& line : editor.toPlainText().split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    return lines;
}

QString previewTitle(const std::vector<std::string>& lines)
{
    const exporting::ScriptTarget target = exporting::templateTarget(lines.empty() ? std::string() : lines.front());
    return target.clipboard ? QObject::tr("Preview (clipboard)")
                            : QObject::tr("Preview (%1)").arg(toolkit::qtText(target.extension));
}

} // namespace

QString previewText(const std::vector<std::string>& lines)
{
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += toolkit::qtText(lines[i]);
    }
    return text;
}

void ScriptEditorWindow::setPreviewSource(std::function<PreviewSource()> source)
{
    previewSource_ = std::move(source);
    schedulePreview();
}

void ScriptEditorWindow::setSpriteChooser(std::function<void(std::int64_t)> chooser)
{
    chooseSprite_ = std::move(chooser);
}

void ScriptEditorWindow::setPreviewPause(std::chrono::milliseconds pause)
{
    previewTimer_->setInterval(pause);
}

void ScriptEditorWindow::canvasChanged()
{
    schedulePreview();
}

bool ScriptEditorWindow::previewShown() const
{
    return previewToggle_->isChecked();
}

void ScriptEditorWindow::buildPreview()
{
    previewToggle_ = new QCheckBox(tr("Preview"), this);
    previewToggle_->setFocusPolicy(Qt::NoFocus);
    elements_.insert(kPreviewToggle, previewToggle_);
    previewLabel_ = new QLabel(this);
    elements_.insert(kPreviewLabel, previewLabel_);
    preview_ = new QPlainTextEdit(this);
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    elements_.insert(kPreviewPane, preview_);
    previewTimer_ = new QTimer(this);
    previewTimer_->setSingleShot(true);
    previewTimer_->setInterval(kTypingPause);
    connect(previewTimer_, &QTimer::timeout, this, [this] { startPreview(); });
    connect(previewToggle_, &QCheckBox::toggled, this, [this](bool shown) { showPreview(shown); });
    connect(preview_, &QPlainTextEdit::cursorPositionChanged, this, [this] { previewLineChosen(); });
}

// Read once the preference store is open.
void ScriptEditorWindow::readPreviewChoice()
{
    services_.store.selectGroup(kPreviewGroup);
    const bool shown = services_.store.readInteger(kPreviewKey, 0) != 0;
    {
        const QSignalBlocker quiet(previewToggle_);
        previewToggle_->setChecked(shown);
    }
    showPreview(shown);
}

void ScriptEditorWindow::showPreview(bool shown)
{
    services_.store.selectGroup(kPreviewGroup);
    services_.store.writeInteger(kPreviewKey, shown ? 1 : 0);
    previewLabel_->setVisible(shown);
    preview_->setVisible(shown);
    layoutElements();
    schedulePreview();
}

void ScriptEditorWindow::schedulePreview()
{
    if (previewToggle_ && previewShown())
        previewTimer_->start();
}

void ScriptEditorWindow::startPreview()
{
    if (!previewShown() || !previewSource_ || !currentEditor())
        return;
    std::vector<std::string> lines = editorLines(*currentEditor());
    previewLabel_->setText(previewTitle(lines));
    PreviewSource source = previewSource_();
    // The copy must not be the last holder of a picture, whose release
    // belongs to this thread; the expansion reads no pixels.
    for (std::size_t i = 0; i < source.sprites.size(); ++i)
        source.sprites.at(i).picture.reset();
    const std::uint64_t run = ++latestPreview_;
    // Replacing the worker waits for the older run, which the new number
    // has already told to stop at its next line.
    previewWorker_ = std::jthread([this, run, lines = std::move(lines), source = std::move(source)]() mutable {
        exporting::PreviewLines out(latestPreview_, run);
        (void)exporting::expandTemplate(std::move(lines), out, source.sprites, source.inputs);
        if (out.stale())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, run, text = out.lines(), passes = out.passes()]() mutable {
                previewReady(run, text, std::move(passes));
            },
            Qt::QueuedConnection);
    });
}

void ScriptEditorWindow::stopPreview()
{
    ++latestPreview_;
    if (previewWorker_.joinable())
        previewWorker_.join();
}

void ScriptEditorWindow::previewReady(std::uint64_t run, const std::vector<std::string>& lines,
                                      std::vector<std::int64_t> passes)
{
    if (run != latestPreview_)
        return;
    const QSignalBlocker quiet(preview_);
    preview_->setPlainText(previewText(lines));
    previewPasses_ = std::move(passes);
}

void ScriptEditorWindow::previewLineChosen()
{
    const auto line = std::size_t(preview_->textCursor().blockNumber());
    if (chooseSprite_ && line < previewPasses_.size() && previewPasses_[line] > 0)
        chooseSprite_(previewPasses_[line]);
}

} // namespace th::editor
