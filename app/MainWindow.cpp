#include "app/MainWindow.h"

#include "app/MainLayout.h"
#include "app/MainMenus.h"
#include "app/MainWindowIds.h"
#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"
#include "canvas/GridSnap.h"
#include "canvas/PackCommand.h"
#include "canvas/SpriteNudge.h"
#include "toolkit/Host.h"
#include "toolkit/Version.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace th::app {

MainWindow::MainWindow(toolkit::Host& host, const ToolbarPictures& pictures, PictureAccess access,
                       std::chrono::milliseconds pictureQuiet)
    : host_(host)
    , pictureWatch_([this](const std::vector<std::string>& paths) { pictureFilesChanged(paths); }, pictureQuiet)
    , export_(this, model_, host_,
              {[this](const exporting::ExportRequest& request) {
                   projects_->exported(request);
                   canvas::selectTopAndRedraw(model_, *this);
               },
               [this](QWidget* opened) { nameWindow(opened, ActiveWindow::Export); },
               [this] { updateMenuState(); }})
    , scriptEditor_(this, host_,
                    [this](QWidget* opened) {
                        nameWindow(opened, ActiveWindow::ScriptEditor);
                        connectScriptPreview();
                    },
                    [this] { updateMenuState(); })
    , information_(this, host_, pictures.applicationIcon, [this](QWidget* opened, bool help) {
        nameWindow(opened, help ? ActiveWindow::Help : ActiveWindow::About);
    })
{
    setWindowTitle(tr("Tile Heron v%1").arg(toolkit::kVersionMajor));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* content = new QWidget(this);
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    content->setPalette(palette);
    content->setMinimumSize(kMainContentWidth, kMainContentHeight);
    // The toolbar row's places were laid out for a 12-pixel interface font.
    QFont small = content->font();
    small.setPixelSize(12);
    content->setFont(small);
    setCentralWidget(content);

    actions_ = buildMainMenus(menuBar(), this);
    for (QAction* action : std::as_const(actions_)) {
        const int id = action->data().toInt();
        connect(action, &QAction::triggered, this, [this, id] { onMenu(id); });
    }
    showPackChoices();

    view_ = new canvas::CanvasView(model_, access.view, pictures.backgroundTile);
    buildGadgets(pictures);
    canvas::CanvasDisplay& display = *this;
    commands_ = std::make_unique<canvas::CanvasCommands>(editor_, host_, access.load, display, &progress_);
    mouse_ = std::make_unique<canvas::CanvasMouse>(editor_, display);
    projects_ = std::make_unique<project::ProjectCommands>(editor_, *mouse_, host_, access.load);
    pictureReload_ = std::make_unique<canvas::PictureReload>(editor_, access.load);
    connectCanvas();

    nameWindow(this, ActiveWindow::Main);
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this] { followActivation(); });
    resize(kMainContentWidth, kMainContentHeight + menuBar()->sizeHint().height());
    move(0, 0);
    layoutGadgets();
    updateMenuState();
}

// The base class still moves focus while it tears down, after our members
// are gone, so stop listening first.
MainWindow::~MainWindow()
{
    disconnect(focusWatch_);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layoutGadgets();
    redraw();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        followActivation();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (scriptEditor_.closeWindow())
        QMainWindow::closeEvent(event);
    else
        event->ignore();
}

void MainWindow::followActivation()
{
    // While the export window is open it stays in front of the main window.
    if (QApplication::activeWindow() == this && export_.windowShown())
        export_.bringForward();
    updateMenuState();
}

void MainWindow::redraw()
{
    view_->refresh(mouse_ ? mouse_->held() : std::nullopt);
}

void MainWindow::showName(const std::string& text)
{
    nameLabel_->setText(QString::fromStdString(text));
}

void MainWindow::showPosition(const std::string& text)
{
    positionLabel_->setText(QString::fromStdString(text));
}

// The selector sets the model's size; the canvas follows the model.
void MainWindow::canvasSizeChanged()
{
    editor_.perform(canvas::SetCanvasSize{.size = sizeSelector_->currentText().toInt()});
    placeCanvas();
    canvas::selectTopAndRedraw(model_, *this);
    // Arrow keys must not go on changing the size behind the user's back.
    view_->setFocus();
}

void MainWindow::showModel()
{
    {
        // The selector follows the model here, so it must not report the
        // change as the user's.
        const QSignalBlocker quiet(sizeSelector_);
        sizeSelector_->setCurrentText(QString::number(model_.canvasSize()));
    }
    placeCanvas();
    showSnap();
    // What the overlay marks is what the next Delete removes.
    if (!model_.sprites().current())
        model_.selectLast();
    redraw();
    showName(canvas::nameLabel(model_));
    showPosition(canvas::positionReadout(model_));
}

// Not while the mouse holds a sprite: its drag is not one finished step yet.
// An undo puts back the sprite that was current before the step; a redo
// ends as every change does, with the sprite on top current.
void MainWindow::undo()
{
    if (!mouse_->dragging() && history_.undo())
        showUndoneOrRedone();
}

void MainWindow::redo()
{
    if (!mouse_->dragging() && history_.redo()) {
        model_.selectLast();
        showUndoneOrRedone();
    }
}

// A step taken back or again changes the arrangement as much as an edit, so
// it is kept for the next start too.
void MainWindow::showUndoneOrRedone()
{
    const std::string readout = history_.shownNow();
    showModel();
    if (!readout.empty())
        showPosition(readout);
    if (autosave_)
        autosave_->changed();
}

// Canvas events go straight to the mouse handling; the menus follow after.
void MainWindow::connectCanvas()
{
    using canvas::CanvasView;
    const auto handled = [this](auto handler) {
        return [this, handler](QPoint at) {
            (mouse_.get()->*handler)(at.x(), at.y());
            updateMenuState();
        };
    };
    connect(view_, &CanvasView::leftPressed, this, handled(&canvas::CanvasMouse::leftPressed));
    connect(view_, &CanvasView::leftReleased, this, handled(&canvas::CanvasMouse::leftReleased));
    connect(view_, &CanvasView::pointerMoved, this, handled(&canvas::CanvasMouse::pointerMoved));
    connect(view_, &CanvasView::rightPressed, this, handled(&canvas::CanvasMouse::rightPressed));
    connect(view_, &CanvasView::pivotPressed, this, handled(&canvas::CanvasMouse::pivotPressed));
    connect(view_, &CanvasView::pivotDoubleClicked, this, handled(&canvas::CanvasMouse::pivotDoubleClicked));
    connect(view_, &CanvasView::arrowPressed, this, [this](int dx, int dy, bool large) {
        canvas::nudgeCurrent(editor_, *this, dx, dy, large ? canvas::NudgeStep::Large : canvas::NudgeStep::Pixel,
                             snapToGrid());
        updateMenuState();
    });
    // The mouse scrolls in canvas pixels, so the turn and the viewport are
    // measured in them too: a notch scrolls as far on screen at every zoom.
    connect(view_, &CanvasView::wheelTurned, this, [this](QPoint at, int delta) {
        const double zoom = view_->zoom();
        const int top = mouse_->wheelTurned(at.x(), at.y(), int(delta / zoom),
                                            int(scrollArea_->height() / zoom));
        scrollArea_->verticalScrollBar()->setValue(int(top * zoom));
        updateMenuState();
    });
    connect(view_, &CanvasView::zoomTurned, this, [this](QPointF at, int delta) {
        zoomTurned(at, delta);
        updateMenuState();
    });
    // Dropped pictures land with their top-left corner where they were
    // dropped, on the grid while the snap switch is on.
    connect(view_, &CanvasView::dropped, this, [this](const std::vector<std::string>& dropped, QPoint at) {
        const bool snap = mouse_->snapToGrid();
        commands_->drop(dropped, snap ? canvas::snappedToGrid(at.x()) : at.x(),
                        snap ? canvas::snappedToGrid(at.y()) : at.y());
        updateMenuState();
    });
}

void MainWindow::enableExport(image::ImageStore& images, std::string dataFolder)
{
    export_.enable(images, std::move(dataFolder));
}

void MainWindow::enableScriptEditor(toolkit::PreferenceStore& store, std::string preferenceFile,
                                    std::string dataFolder)
{
    importOrder_.enable(store, preferenceFile);
    const bool natural = importOrder_.read();
    commands_->setNaturalOrder(natural);
    actions_[kMenuNaturalOrder]->setChecked(natural);
    scriptEditor_.enable(store, std::move(preferenceFile), std::move(dataFolder));
}

void MainWindow::keepPackChoices(toolkit::PreferenceStore& store)
{
    packChoices_.keepIn(store);
    showPackChoices();
}

void MainWindow::showPackChoices()
{
    actions_[kMenuPackMayTurn]->setChecked(packChoices_.mayTurn());
    actions_[kMenuPackGapFirst + packChoices_.gap()]->setChecked(true);
}

void MainWindow::packTightly()
{
    canvas::packSpritesTightly(editor_, host_, *this,
                               {.gap = packChoices_.gap(), .mayTurn = packChoices_.mayTurn(), .snapToGrid = snapToGrid()});
}

void MainWindow::keepArrangement(const std::string& file, std::chrono::milliseconds wait)
{
    if (projects_->offerRestore(file))
        showModel();
    autosave_ = std::make_unique<Autosave>(
        editor_, [this, file] { return projects_->keep(file); },
        [this, file](const files::FileResult& failed) {
            host_.message("Arrangement Not Kept", "The arrangement could not be kept in " + file + " because " +
                                                      files::describe(failed, file) +
                                                      ". Tile Heron tries again at the next change.");
        },
        wait);
}

void MainWindow::finishKeeping()
{
    if (autosave_)
        autosave_->flush();
}

} // namespace th::app
