#include "app/MainWindow.h"

#include "app/MainLayout.h"
#include "app/MainMenus.h"
#include "canvas/CanvasRefresh.h"
#include "toolkit/Version.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace th::app {

MainWindow::MainWindow(toolkit::Host& host, const ToolbarPictures& pictures, PictureAccess access)
    : host_(host)
    , export_(this, model_, host_,
              {[this](const exporting::ExportRequest& request) {
                   projects_->exported(request);
                   canvas::selectTopAndRedraw(model_, *this);
               },
               [this](QWidget* opened) { nameWindow(opened, ActiveWindow::Export); },
               [this] { updateMenuState(); }})
    , scriptEditor_(this, host_, [this](QWidget* opened) { nameWindow(opened, ActiveWindow::ScriptEditor); },
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

    view_ = new canvas::CanvasView(model_, access.view, pictures.backgroundTile);
    buildGadgets(pictures);
    canvas::CanvasDisplay& display = *this;
    commands_ = std::make_unique<canvas::CanvasCommands>(editor_, host_, access.load, display);
    mouse_ = std::make_unique<canvas::CanvasMouse>(editor_, display);
    projects_ = std::make_unique<project::ProjectCommands>(editor_, *mouse_, host_, access.load);
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
    connect(view_, &CanvasView::wheelTurned, this, [this](QPoint at, int delta) {
        const int top = mouse_->wheelTurned(at.x(), at.y(), delta, scrollArea_->viewport()->height());
        scrollArea_->verticalScrollBar()->setValue(top);
        updateMenuState();
    });
}

void MainWindow::enableExport(image::ImageStore& images, std::string dataFolder)
{
    export_.enable(images, std::move(dataFolder));
}

void MainWindow::enableScriptEditor(editor::PreferenceStore& store, std::string preferenceFile,
                                    std::string dataFolder)
{
    scriptEditor_.enable(store, std::move(preferenceFile), std::move(dataFolder));
}

void MainWindow::keepArrangement(const std::string& file)
{
    if (projects_->offerRestore(file))
        showArrangement();
    autosave_ = std::make_unique<Autosave>(editor_, [this, file] { return projects_->keep(file); });
}

void MainWindow::finishKeeping()
{
    if (autosave_)
        autosave_->flush();
}

} // namespace th::app
