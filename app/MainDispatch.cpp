// The main window's dispatch: every menu item and gadget by its number, in
// one place, and the menu state that follows each event.

#include "app/MainWindow.h"

#include "app/ImageButton.h"
#include "app/MainMenus.h"
#include "app/MainWindowIds.h"
#include "canvas/AlphaClip.h"
#include "canvas/CanvasZoom.h"
#include "canvas/ColumnLayout.h"
#include "editor/ScriptEditorLayout.h"
#include "toolkit/Host.h"

#include <QAction>
#include <QApplication>

namespace th::app {

namespace {

// File-menu items behave exactly like their toolbar buttons.
int buttonForMenu(int id)
{
    switch (id) {
    case kMenuNewCanvas: return kNewCanvasButton;
    case kMenuOpenImageFolder: return kOpenFolderButton;
    case kMenuImportImage: return kImportImageButton;
    case kMenuDeleteImage: return kDeleteImageButton;
    case kMenuExportSheet: return kExportButton;
    default: return -1;
    }
}

} // namespace

void MainWindow::onMenu(int id)
{
    if (const int button = buttonForMenu(id); button >= 0) {
        // Posted, so the menu closes first and the button flashes as if pressed.
        QMetaObject::invokeMethod(this, [this, button] { onGadget(button); }, Qt::QueuedConnection);
    } else {
        switch (id) {
        case kMenuResetColumns: canvas::resetColumns(editor_, *this); break;
        case kMenuPackTightly: packTightly(); break;
        case kMenuPackMayTurn:
            packChoices_.setMayTurn(!packChoices_.mayTurn());
            showPackChoices();
            break;
        case kMenuClipAlpha: canvas::clipAlphaImage(editor_, *this); break;
        case kMenuExpandClip: canvas::expandAlphaClip(editor_, *this); break;
        case kMenuSaveScript: scriptEditor_.post(editor::kSaveButton); break;
        case kMenuDeleteScript: scriptEditor_.post(editor::kDeleteButton); break;
        case kMenuScriptWindow: scriptEditor_.open(); break;
        case kMenuHelp: information_.openHelp(); break;
        case kMenuAbout: information_.openAbout(); break;
        case kMenuQuit:
            // Unsaved script edits are asked about before anything goes.
            if (scriptEditor_.closeWindow())
                QApplication::quit();
            break;
        case kMenuOpenProject:
            if (projects_->openProject())
                showModel();
            break;
        case kMenuSaveProject: projects_->saveProject(); break;
        case kMenuSaveProjectAs: projects_->saveProjectAs(); break;
        case kMenuUndo: undo(); break;
        case kMenuRedo: redo(); break;
        case kMenuNaturalOrder: {
            const bool natural = actions_[kMenuNaturalOrder]->isChecked();
            commands_->setNaturalOrder(natural);
            importOrder_.write(natural);
            break;
        }
        case kMenuZoomIn: zoomTo(canvas::zoomedIn(view_->zoom()), viewportCentre()); break;
        case kMenuZoomOut: zoomTo(canvas::zoomedOut(view_->zoom()), viewportCentre()); break;
        case kMenuZoom25: zoomTo(0.25, viewportCentre()); break;
        case kMenuZoom50: zoomTo(0.5, viewportCentre()); break;
        case kMenuZoom100: zoomTo(1.0, viewportCentre()); break;
        case kMenuZoom200: zoomTo(2.0, viewportCentre()); break;
        case kMenuZoom400: zoomTo(4.0, viewportCentre()); break;
        case kMenuZoomFit: zoomToFit(); break;
        default:
            if (id >= kMenuPackGapFirst && id <= kMenuPackGapLast)
                packChoices_.setGap(id - kMenuPackGapFirst);
            showPackChoices();
            break;
        }
    }
    updateMenuState();
}

void MainWindow::onGadget(int gadget, int type)
{
    // The export waits for the script editor, whose edits may not be saved;
    // a command refused before it starts does not flash its button.
    if (gadget == kExportButton && scriptEditor_.isOpen()) {
        host_.message("Wait!", "The script window needs to be closed first. Be sure to save any edited scripts.");
        updateMenuState();
        return;
    }
    if (ImageButton* button = buttons_.value(gadget); button && type == 0)
        button->flash();

    switch (gadget) {
    case kCanvasSizeSelector: canvasSizeChanged(); break;
    case kNewCanvasButton: commands_->newCanvas(); break;
    case kOpenFolderButton: commands_->openImageFolder(); break;
    case kImportImageButton: commands_->importImage(); break;
    case kDeleteImageButton: commands_->deleteImage(); break;
    case kScriptEditorButton: scriptEditor_.open(); break;
    case kExportButton: export_.run(); break;
    case kSnapSwitch:
        if (type == 0)
            toggleSnap();
        break;
    default: break;
    }
    updateMenuState();
}

void MainWindow::nameWindow(QWidget* window, ActiveWindow kind)
{
    std::erase_if(windowKinds_, [](const auto& entry) { return entry.first.isNull(); });
    windowKinds_.emplace_back(window, kind);
}

ActiveWindow MainWindow::kindOf(const QWidget* window) const
{
    if (!window)
        return ActiveWindow::Main;
    for (const auto& [named, kind] : windowKinds_)
        if (named == window)
            return kind;
    return ActiveWindow::Other;
}

void MainWindow::updateMenuState()
{
    // This runs after every handled event: the read-out a finished command
    // left is the one an undo or redo coming back to its step shows again. A
    // drag in progress is no step yet.
    if (!mouse_->dragging())
        history_.noteShown(positionLabel_->text().toStdString());
    ActiveWindow active = kindOf(QApplication::activeWindow());
    // The export window stays in front of the main window while it is open,
    // so the menus rest as they do while it is active.
    if (active == ActiveWindow::Main && export_.windowShown())
        active = ActiveWindow::Export;
    const UndoSteps steps{history_.undoName(), history_.redoName()};
    if (const std::optional<MenuState> state = menuStateFor(active, model_.sprites().size(), steps))
        applyMenuState(*state, actions_);
    followPictureFiles();
    followCanvasForPreview();
}

} // namespace th::app
