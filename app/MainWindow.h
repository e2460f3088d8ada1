#pragma once
// The main window: menus, the toolbar row and the canvas in its scroll area.
// Menu and gadget events are dispatched in onMenu() and onGadget()
// (MainDispatch.cpp), and updateMenuState() brings every menu item and
// shortcut up to date after each. Every finished canvas change goes to the
// undo history; the view's zoom is handled in MainZoom.cpp.

#include "app/Autosave.h"
#include "app/CanvasHistory.h"
#include "app/ExportCommand.h"
#include "app/InformationWindows.h"
#include "app/ImportOrderSetting.h"
#include "app/ScriptEditorCommand.h"
#include "app/MenuState.h"
#include "app/PackPreferences.h"
#include "app/ToolbarPictures.h"
#include "canvas/CanvasCommands.h"
#include "canvas/CanvasEdit.h"
#include "canvas/CanvasModel.h"
#include "canvas/CanvasMouse.h"
#include "canvas/CanvasView.h"
#include "canvas/PictureReload.h"
#include "canvas/PictureWatch.h"
#include "project/ProjectCommands.h"
#include "toolkit/ProgressWindow.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QScrollArea;

namespace th::editor {
class ScriptEditorWindow;
}
namespace th::exporting {
class ExportWindow;
}
namespace th::image {
class ImageStore;
}
namespace th::toolkit {
class Host;
class PreferenceStore;
}

namespace th::app {

class ImageButton;

// How the window reaches the image library.
struct PictureAccess {
    canvas::PictureSource view;
    canvas::PictureLoader load;
};

class MainWindow : public QMainWindow, private canvas::CanvasDisplay {
    Q_OBJECT
public:
    // A change to a picture file is reloaded once the files were quiet for
    // `pictureQuiet`.
    MainWindow(toolkit::Host& host, const ToolbarPictures& pictures, PictureAccess access,
               std::chrono::milliseconds pictureQuiet = canvas::PictureWatch::kQuiet);
    ~MainWindow() override;

    const canvas::CanvasModel& model() const { return model_; }
    canvas::CanvasView* canvasView() const { return view_; }
    QAction* menuAction(int id) const { return actions_.value(id); }
    QWidget* gadget(int number) const { return gadgets_.value(number); }
    bool snapToGrid() const { return mouse_->snapToGrid(); }
    const project::ProjectCommands& projects() const { return *projects_; }
    const CanvasHistory& history() const { return history_; }
    // The open export window, or null.
    exporting::ExportWindow* exportWindow() const { return export_.window(); }
    // The open script editor window, or null.
    editor::ScriptEditorWindow* scriptEditor() const { return scriptEditor_.window(); }
    // The open help and About windows, or null.
    help::HelpWindow* helpWindow() const { return information_.helpWindow(); }
    help::AboutWindow* aboutWindow() const { return information_.aboutWindow(); }

    // From now on the export command opens the export window, which writes
    // sheets from the pictures in `images` with the templates of
    // `dataFolder`. Called once, at start-up.
    void enableExport(image::ImageStore& images, std::string dataFolder);
    // From now on the script editor opens on the templates of `dataFolder`,
    // keeping its preferences in `store` over `preferenceFile`, where the
    // import order is kept too.
    void enableScriptEditor(toolkit::PreferenceStore& store, std::string preferenceFile, std::string dataFolder);

    // From now on the packing choices come from `store` and go back there.
    void keepPackChoices(toolkit::PreferenceStore& store);

    // Offers the arrangement kept in `file` at the last run, then keeps
    // every change there from now on, a `wait` after it. Called once, at
    // start-up, and only by the copy of the program that owns the data folder.
    void keepArrangement(const std::string& file, std::chrono::milliseconds wait = kAutosaveWait);
    // Writes a change not yet kept, as the program ends.
    void finishKeeping();

    // Event dispatch, by menu identifier and by gadget number; `type` 0 is a
    // plain left click.
    void onMenu(int id);
    void onGadget(int gadget, int type = 0);
    void updateMenuState();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Coming to or leaving the front changes the menus even when no widget
    // takes the focus with it.
    void changeEvent(QEvent* event) override;
    // Closing the main window ends the program, so the script editor is
    // closed first and may keep both open for its unsaved edits.
    void closeEvent(QCloseEvent* event) override;

private:
    // CanvasDisplay
    void redraw() override;
    void showName(const std::string& text) override;
    void showPosition(const std::string& text) override;

    void buildGadgets(const ToolbarPictures& pictures);
    void layoutGadgets();
    void placeCanvas();
    void canvasSizeChanged();
    // After an undo, a redo or an opened project: the selector, the snap
    // switch, the canvas, its overlay and both read-outs show the model as
    // it now is.
    void showModel();
    void undo();
    void redo();
    void showUndoneOrRedone();
    // Zooms so that the canvas point under `anchor` (in the scroll area's
    // viewport) stays there.
    void zoomTo(double zoom, QPoint anchor);
    void zoomToFit();
    void zoomTurned(QPointF viewAt, int delta);
    QPoint viewportCentre() const;
    void toggleSnap();
    void packTightly();
    // The packing choices' menu items show the choices.
    void showPackChoices();
    void showSnap();
    void connectCanvas();
    // Another window came to the front or went back.
    void followActivation();
    // Which of the program's windows `window` is; a window nobody named
    // counts as Other, no window at all as the main window.
    ActiveWindow kindOf(const QWidget* window) const;
    void nameWindow(QWidget* window, ActiveWindow kind);
    // The picture files watched are those of the sprites on the canvas now
    // (MainPictureWatch.cpp); a burst of changes to them is reloaded as one
    // step.
    void followPictureFiles();
    void pictureFilesChanged(const std::vector<std::string>& paths);
    // The script editor's preview reads the canvas and the last export's
    // choices, follows the canvas's changes and selects the sprite of a
    // clicked line (MainScriptPreview.cpp).
    void connectScriptPreview();
    void followCanvasForPreview();
    void selectSpriteNumbered(std::int64_t number);

    toolkit::Host& host_;
    canvas::CanvasModel model_;
    CanvasHistory history_{model_};
    canvas::CanvasEditor editor_{model_, [this](canvas::CanvasEdit edit) {
                                     history_.record(std::move(edit));
                                     if (autosave_)
                                         autosave_->changed();
                                 }};
    toolkit::ProgressWindow progress_{this};
    std::unique_ptr<canvas::CanvasCommands> commands_;
    std::unique_ptr<canvas::CanvasMouse> mouse_;
    std::unique_ptr<project::ProjectCommands> projects_;
    std::unique_ptr<Autosave> autosave_;
    std::unique_ptr<canvas::PictureReload> pictureReload_;
    canvas::PictureWatch pictureWatch_;
    std::uint64_t followedRevision_ = 0;
    std::uint64_t previewRevision_ = 0;
    // The revision a reload's notice was shown at, in place of the sprite's
    // name: the next change of the canvas brings the name back.
    std::optional<std::uint64_t> noticeRevision_;
    QHash<int, QAction*> actions_;
    QHash<int, QWidget*> gadgets_;
    QHash<int, ImageButton*> buttons_;
    QScrollArea* scrollArea_ = nullptr;
    QWidget* canvasHolder_ = nullptr;
    canvas::CanvasView* view_ = nullptr;
    QComboBox* sizeSelector_ = nullptr;
    QLabel* positionLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    ImageButton* snapSwitch_ = nullptr;
    QPixmap snapOff_;
    QPixmap snapOn_;
    // Fit follows the window's size and the canvas's; any other zoom stays.
    bool fitting_ = false;
    QMetaObject::Connection focusWatch_;
    PackPreferences packChoices_;
    ExportCommand export_;
    ScriptEditorCommand scriptEditor_;
    ImportOrderSetting importOrder_;
    InformationWindows information_;
    // Guarded pointers, so a closed window simply drops out of the table.
    std::vector<std::pair<QPointer<QWidget>, ActiveWindow>> windowKinds_;
};

} // namespace th::app
