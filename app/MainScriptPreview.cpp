#include "app/MainWindow.h"

#include "editor/ScriptEditorWindow.h"
#include "export/ExportRun.h"

namespace th::app {

void MainWindow::connectScriptPreview()
{
    editor::ScriptEditorWindow* window = scriptEditor_.window();
    window->setSpriteChooser([this](std::int64_t number) { selectSpriteNumbered(number); });
    window->setPreviewSource([this] {
        const exporting::ExportRequest& request = projects_->exportChoices().exportChoices;
        return editor::PreviewSource{
            model_.sprites(), exporting::exportScriptInputs(request, model_, exporting::exportSheetSize(request, model_))};
    });
}

// Every change of the canvas ends in a menu update, as for the picture watch.
void MainWindow::followCanvasForPreview()
{
    if (model_.revision() == previewRevision_)
        return;
    previewRevision_ = model_.revision();
    if (editor::ScriptEditorWindow* window = scriptEditor_.window())
        window->canvasChanged();
}

// The preview counts passes the way the template engine finds sprites: by
// their index, the first one holding it, and the last sprite for a pass no
// sprite's index reaches.
void MainWindow::selectSpriteNumbered(std::int64_t number)
{
    const auto entries = model_.sprites().entries();
    for (std::size_t position = 0; position < entries.size(); ++position) {
        if (entries[position].index == number) {
            model_.select(position);
            redraw();
            updateMenuState();
            return;
        }
    }
    model_.selectLast();
    redraw();
    updateMenuState();
}

} // namespace th::app
