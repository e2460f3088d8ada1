// What the mouse and the clip keys change, as the real view paints it and
// the real scroll area scrolls; the rules themselves are LayoutCommandsTest's.

#include "MainWindowFixture.h"

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

using namespace th::app;
using th::testing::MainWindowTest;

const QRgb kRed = qRgb(220, 0, 0);
const QRgb kBlue = qRgb(0, 0, 220);
const QRgb kGreen = qRgb(0, 200, 0);

TEST_F(MainWindowTest, TheViewPaintsHeldTurnedAndClippedSpritesAndTheWheelScrollsToTheCanvasBottom)
{
    writePng(home.folder() + "wide.png", 128, 96, [](int u, int v) { return u == 1 && v == 1 ? kGreen : kRed; });
    writePng(home.folder() + "small.png", 32, 32, kBlue);
    importPicture(home.folder() + "wide.png");
    importPicture(home.folder() + "small.png");
    EXPECT_EQ(canvasPixels().pixel(10, 10), kBlue);

    press({40, 40});
    const QRgb held = canvasPixels().pixel(10, 10);
    EXPECT_NEAR(qRed(held), 110, 3);
    EXPECT_NEAR(qBlue(held), 110, 3);
    release({40, 40});
    EXPECT_EQ(canvasPixels().pixel(1, 1), kGreen);

    press({40, 40}, Qt::RightButton);
    // Picture pixel (1, 1) lands on column 1, row 128 - 1 - 1.
    QImage pixels = canvasPixels();
    EXPECT_EQ(pixels.pixel(1, 126), kGreen);
    EXPECT_EQ(pixels.pixel(1, 1), kRed);
    EXPECT_EQ(pixels.pixel(90, 20), kRed);
    EXPECT_NE(pixels.pixel(100, 40), kRed);
    EXPECT_NE(pixels.pixel(40, 130), kRed);

    // The clip takes the top and bottom off the turned sprite: its visible
    // box is outlined two rows in, away from the pivot cross at the middle.
    QTest::keyClick(window.get(), Qt::Key_Minus);
    pixels = canvasPixels();
    EXPECT_EQ(pixels.pixel(10, 2), th::canvas::CanvasView::kVisibleBoxColour);
    EXPECT_EQ(pixels.pixel(10, 4), kRed);

    // The wheel's floor is measured on the whole scroll area, even where the
    // 4096 canvas's horizontal bar takes part of it.
    static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector))->setCurrentIndex(2);
    QApplication::processEvents();
    auto* view = window->canvasView();
    const auto* scroll = static_cast<QScrollArea*>(window->gadget(kScrollAreaGadget));
    ASSERT_LT(scroll->viewport()->height(), scroll->height());
    const auto turn = [&](int delta) {
        QWheelEvent event(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
        return scroll->verticalScrollBar()->value();
    };
    EXPECT_EQ(turn(-120), 120);
    for (int i = 0; i < 40; ++i)
        turn(-120);
    EXPECT_EQ(turn(120), 4096 - scroll->height() - 120);
}

} // namespace
