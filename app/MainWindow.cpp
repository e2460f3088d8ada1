#include "app/MainWindow.h"

#include "app/ImageButton.h"
#include "app/MainLayout.h"
#include "app/MainMenus.h"
#include "app/MainWindowIds.h"
#include "app/MenuState.h"
#include "canvas/AlphaClip.h"
#include "canvas/CanvasRefresh.h"
#include "canvas/ColumnLayout.h"
#include "export/ExportWindow.h"
#include "toolkit/Host.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>

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

QKeySequence keySequence(const std::string& keys)
{
    if (keys == "+")
        return QKeySequence(Qt::Key_Plus);
    if (keys == "-")
        return QKeySequence(Qt::Key_Minus);
    return QKeySequence(QString::fromStdString(keys));
}

} // namespace

MainWindow::MainWindow(toolkit::Host& host, const ToolbarPictures& pictures, PictureAccess access)
    : host_(host)
{
    setWindowTitle(tr("Tile Heron v2"));
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
    connectCanvas();

    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this] { updateMenuState(); });
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

exporting::ExportWindow* MainWindow::exportWindow() const
{
    return exportWindow_;
}

void MainWindow::enableExport(image::ImageStore& images, std::string dataFolder)
{
    connect(this, &MainWindow::exportRequested, this,
            [this, &images, folder = std::move(dataFolder)] { openExportWindow(images, folder); });
}

// One export window at a time: the command brings an open one to the front.
void MainWindow::openExportWindow(image::ImageStore& images, const std::string& dataFolder)
{
    if (!exportWindow_) {
        exportWindow_ = new exporting::ExportWindow({model_, images, host_, dataFolder}, this);
        connect(exportWindow_, &exporting::ExportWindow::exported, this,
                [this] { canvas::selectTopAndRedraw(model_, *this); });
        connect(exportWindow_, &QDialog::finished, this, &MainWindow::updateMenuState);
    }
    exportWindow_->show();
    bringExportWindowForward();
}

// Qt counts a dialog as active while its main window is, so activateWindow()
// would do nothing here; the window is asked for the focus directly.
void MainWindow::bringExportWindowForward()
{
    exportWindow_->raise();
    if (QWindow* handle = exportWindow_->windowHandle())
        handle->requestActivate();
}

void MainWindow::onMenu(int id)
{
    if (const int button = buttonForMenu(id); button >= 0) {
        // Posted, so the menu closes first and the button flashes as if pressed.
        QMetaObject::invokeMethod(this, [this, button] { onGadget(button); }, Qt::QueuedConnection);
    } else {
        switch (id) {
        case kMenuResetColumns: canvas::resetColumns(editor_, *this); break;
        case kMenuClipAlpha: canvas::clipAlphaImage(editor_, *this); break;
        case kMenuExpandClip: canvas::expandAlphaClip(editor_, *this); break;
        case kMenuQuit: QApplication::quit(); break;
        default: break;
        }
    }
    updateMenuState();
}

void MainWindow::onGadget(int gadget, int type)
{
    if (ImageButton* button = buttons_.value(gadget); button && type == 0)
        button->flash();

    switch (gadget) {
    case kCanvasSizeSelector: canvasSizeChanged(); break;
    case kNewCanvasButton: commands_->newCanvas(); break;
    case kOpenFolderButton: commands_->openImageFolder(); break;
    case kImportImageButton: commands_->importImage(); break;
    case kDeleteImageButton: commands_->deleteImage(); break;
    case kExportButton:
        if (model_.sprites().empty())
            host_.message("No Images!", "There are no images to build a sprite sheet.");
        else
            emit exportRequested();
        break;
    case kSnapSwitch:
        if (type == 0)
            toggleSnap();
        break;
    default: break;
    }
    updateMenuState();
}

void MainWindow::updateMenuState()
{
    const QWidget* active = QApplication::activeWindow();
    // While the export window is open it stays in front of the main window.
    if (active == this && exportWindow_ && exportWindow_->isVisible()) {
        bringExportWindowForward();
        active = exportWindow_;
    }
    ActiveWindow which = ActiveWindow::Other;
    if (!active || active == this)
        which = ActiveWindow::Main;
    else if (active == exportWindow_)
        which = ActiveWindow::Export;
    const std::optional<MenuState> state = menuStateFor(which, model_.sprites().size());
    if (!state)
        return;
    for (const auto& [id, enabled] : state->enabled)
        actions_[id]->setEnabled(enabled);
    for (const auto& [id, keys] : state->shortcuts)
        actions_[id]->setShortcut(keySequence(keys));
}

} // namespace th::app
