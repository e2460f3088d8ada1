// The main window's gadgets: made from their tables, placed by the layout.

#include "app/MainWindow.h"

#include "app/ImageButton.h"
#include "app/MainLayout.h"
#include "app/MainWindowIds.h"
#include "canvas/CanvasReadouts.h"
#include "canvas/CanvasRefresh.h"
#include "canvas/CanvasZoom.h"

#include <QComboBox>
#include <QLabel>
#include <QPalette>
#include <QScrollArea>
#include <QScrollBar>

namespace th::app {

namespace {

struct ButtonGadget {
    int gadget;
    int normalImage;
    int pressedImage;
    const char* toolTip;
};

constexpr ButtonGadget kButtons[] = {
    {kNewCanvasButton, 11, 12, "New Canvas"},
    {kOpenFolderButton, 0, 5, "Open Image Folder"},
    {kImportImageButton, 1, 6, "Import Image"},
    {kDeleteImageButton, 2, 7, "Delete Image"},
    {kScriptEditorButton, 3, 8, "Script Editor"},
    {kExportButton, 4, 9, "Export Sprite Sheet"},
};

constexpr int kSeparators[] = {kSeparator14, kSeparator11, kSeparator12};
constexpr int kSeparatorImage = 10;
constexpr int kSnapOffImage = 13;
constexpr int kSnapOnImage = 14;
// The selector covers the last 10 pixels of the size label; 2 more keep the
// words from touching it.
constexpr int kSizeLabelClearance = 12;

QLabel* makeLabel(const char* text, QWidget* parent, Qt::Alignment alignment)
{
    auto* label = new QLabel(QObject::tr(text), parent);
    label->setAlignment(alignment | Qt::AlignTop);
    return label;
}

} // namespace

void MainWindow::buildGadgets(const ToolbarPictures& pictures)
{
    QWidget* content = centralWidget();
    for (const ButtonGadget& entry : kButtons) {
        auto* button = new ImageButton(pictures.byNumber.value(entry.normalImage),
                                       pictures.byNumber.value(entry.pressedImage), content);
        button->setToolTip(tr(entry.toolTip));
        const int gadget = entry.gadget;
        connect(button, &ImageButton::clicked, this, [this, gadget] { onGadget(gadget); });
        buttons_.insert(gadget, button);
        gadgets_.insert(gadget, button);
    }
    for (int separator : kSeparators) {
        auto* picture = new QLabel(content);
        picture->setPixmap(pictures.byNumber.value(kSeparatorImage));
        gadgets_.insert(separator, picture);
    }

    snapOff_ = pictures.byNumber.value(kSnapOffImage);
    snapOn_ = pictures.byNumber.value(kSnapOnImage);
    snapSwitch_ = new ImageButton(snapOff_, snapOff_, content);
    connect(snapSwitch_, &ImageButton::clicked, this, [this] { onGadget(kSnapSwitch); });
    gadgets_.insert(kSnapSwitch, snapSwitch_);

    QLabel* sizeWords = makeLabel("Canvas Size:", content, Qt::AlignRight);
    sizeWords->setContentsMargins(0, 0, kSizeLabelClearance, 0);
    gadgets_.insert(kCanvasSizeLabel, sizeWords);
    // The words beside the switch work it too, as a check box's text does.
    auto* snapWords = new ClickableLabel(tr("Snap to Grid"), content);
    snapWords->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(snapWords, &ClickableLabel::clicked, this, [this] { onGadget(kSnapSwitch); });
    gadgets_.insert(kSnapLabel, snapWords);
    positionLabel_ = makeLabel("Image X: 0 / Y: 0", content, Qt::AlignHCenter);
    gadgets_.insert(kPositionLabel, positionLabel_);
    nameLabel_ = makeLabel(" ", content, Qt::AlignHCenter);
    QPalette white = nameLabel_->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    nameLabel_->setPalette(white);
    gadgets_.insert(kNameLabel, nameLabel_);

    sizeSelector_ = new QComboBox(content);
    sizeSelector_->addItems({QStringLiteral("1024"), QStringLiteral("2048"), QStringLiteral("4096")});
    connect(sizeSelector_, &QComboBox::currentIndexChanged, this, [this] { onGadget(kCanvasSizeSelector); });
    gadgets_.insert(kCanvasSizeSelector, sizeSelector_);

    scrollArea_ = new QScrollArea(content);
    scrollArea_->setWidgetResizable(false);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    canvasHolder_ = new QWidget;
    canvasHolder_->setAutoFillBackground(true);
    QPalette dark = canvasHolder_->palette();
    dark.setColor(QPalette::Window, QColor(48, 48, 48));
    canvasHolder_->setPalette(dark);
    scrollArea_->setPalette(dark);
    view_->setParent(canvasHolder_);
    scrollArea_->setWidget(canvasHolder_);
    scrollArea_->verticalScrollBar()->setSingleStep(30);
    scrollArea_->horizontalScrollBar()->setSingleStep(30);
    gadgets_.insert(kScrollAreaGadget, scrollArea_);
    gadgets_.insert(kCanvasGadget, view_);
}

void MainWindow::layoutGadgets()
{
    const QSize size = centralWidget()->size();
    for (auto it = gadgets_.cbegin(); it != gadgets_.cend(); ++it) {
        if (it.key() == kCanvasGadget)
            continue;
        const GadgetRect r = mainGadgetRect(it.key(), size.width(), size.height());
        it.value()->setGeometry(r.x, r.y, r.width, r.height);
    }
    placeCanvas();
}

// The canvas is placed by the size it takes on screen, zoomed.
void MainWindow::placeCanvas()
{
    if (fitting_)
        view_->setZoom(canvas::fitZoom(model_.canvasSize(), scrollArea_->width(), scrollArea_->height()));
    view_->setCanvasSize(model_.canvasSize());
    const int S = view_->width();
    const int X = canvasOffset(S, scrollArea_->width());
    canvasHolder_->resize(S + X, S);
    view_->move(X, 0);
}

void MainWindow::toggleSnap()
{
    mouse_->setSnapToGrid(!mouse_->snapToGrid());
    showSnap();
}

void MainWindow::showSnap()
{
    const QPixmap& picture = mouse_->snapToGrid() ? snapOn_ : snapOff_;
    snapSwitch_->setPictures(picture, picture);
    snapSwitch_->repaint();
}

} // namespace th::app
