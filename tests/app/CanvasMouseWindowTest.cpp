// The mouse and the alpha clip through the real window.

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

class CanvasMouseWindowTest : public MainWindowTest {
protected:
    const th::canvas::SpriteEntry& sprite(const std::string& name) const
    {
        for (const auto& entry : window->model().sprites().entries())
            if (entry.name == name)
                return entry;
        throw std::runtime_error("no sprite " + name);
    }
    const std::string& topName() const { return window->model().sprites().entries().back().name; }
};

TEST_F(CanvasMouseWindowTest, PickedSpriteComesToTheTopAtHalfOpacityUntilReleased)
{
    const std::string folder = makeFolder("overlap");
    writePng(folder + "big.png", 64, 64, qRgba(220, 0, 0, 255));
    writePng(folder + "small.png", 32, 32, qRgba(0, 0, 220, 255));
    importPicture(folder + "big.png");
    importPicture(folder + "small.png");
    EXPECT_EQ(canvasPixels().pixel(10, 10), kBlue);

    press({40, 40});
    EXPECT_EQ(topName(), "big.png");
    const QRgb held = canvasPixels().pixel(10, 10);
    EXPECT_NEAR(qRed(held), 110, 3);
    EXPECT_NEAR(qBlue(held), 110, 3);
    EXPECT_EQ(labelText(kNameLabel), "big.png");

    release({40, 40});
    EXPECT_EQ(canvasPixels().pixel(10, 10), kRed);
}

TEST_F(CanvasMouseWindowTest, TransparentCornersStillPickAndEmptyCanvasPicksNothing)
{
    const std::string folder = makeFolder("clear");
    writePng(folder + "ghost.png", 64, 64, qRgba(0, 0, 0, 0));
    writePng(folder + "solid.png", 64, 64, qRgba(0, 200, 0, 255));
    openFolder(folder);
    press({1, 1});
    release({1, 1});
    EXPECT_EQ(topName(), "ghost.png");

    // A right press on empty canvas turns nothing; the first sprite is current.
    press({500, 500}, Qt::RightButton);
    EXPECT_FALSE(sprite("ghost.png").rotated);
    EXPECT_FALSE(sprite("solid.png").rotated);
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 64 / Y: 0");
}

TEST_F(CanvasMouseWindowTest, DragsFollowThePointerOneEventBehindAndSnapToTheNextGridLine)
{
    const std::string folder = makeFolder("snap");
    writePng(folder + "s.png", 64, 64, kRed);
    importPicture(folder + "s.png");
    // Each event acts where the pointer was at the previous one: a press far
    // off after a move onto the sprite still picks it.
    QTest::mouseMove(window->canvasView(), {30, 30});
    QTest::mousePress(window->canvasView(), Qt::LeftButton, {}, {500, 500});
    EXPECT_NE(canvasPixels().pixel(10, 10), kRed) << "held, so half transparent";
    release({500, 500});
    ASSERT_EQ(sprite("s.png").x, 0);

    click(kSnapSwitch);
    ASSERT_TRUE(window->snapToGrid());
    press({30, 30});
    // Dragged so that the corner would be at (d, d), it lands at (expected, expected).
    for (const auto& [d, expected] : {std::pair{0, 8}, {13, 16}, {16, 24}, {-3, 8}, {-8, 0}, {-13, 0}, {-16, -8}, {35, 40}}) {
        dragTo({30 + d, 30 + d});
        EXPECT_EQ(std::pair(sprite("s.png").x, sprite("s.png").y), std::pair(expected, expected)) << d;
    }
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 40 / Y: 40");
    release({66, 66});
    EXPECT_EQ(th::canvas::usedArea(window->model()).width, 104);

    click(kSnapSwitch);
    press({50, 60});
    dragTo({147, 243});
    release({148, 244});
    EXPECT_EQ(std::pair(sprite("s.png").x, sprite("s.png").y), std::pair(137, 223));
    // Moves without a pick, or after a press that missed, drag nothing.
    QTest::mouseMove(window->canvasView(), {400, 400});
    QTest::mouseMove(window->canvasView(), {300, 300});
    press({600, 600});
    dragTo({500, 500});
    release({500, 500});
    EXPECT_EQ(std::pair(sprite("s.png").x, sprite("s.png").y), std::pair(137, 223));
}

TEST_F(CanvasMouseWindowTest, RightPressTurnsAQuarterCounterClockwiseAndBack)
{
    const std::string folder = makeFolder("turn");
    writePng(folder + "wide.png", 128, 96, [](int u, int v) { return u == 1 && v == 1 ? kGreen : kRed; });
    importPicture(folder + "wide.png");
    EXPECT_EQ(canvasPixels().pixel(1, 1), kGreen);

    press({10, 10}, Qt::RightButton);
    const auto& turned = sprite("wide.png");
    EXPECT_TRUE(turned.rotated);
    EXPECT_EQ(std::tie(turned.x, turned.y, turned.width, turned.height), std::make_tuple(0, 0, 96, 128));
    // Picture pixel (1, 1) lands on column 1, row 128 - 1 - 1.
    const QImage pixels = canvasPixels();
    EXPECT_EQ(pixels.pixel(1, 126), kGreen);
    EXPECT_EQ(pixels.pixel(1, 1), kRed);
    EXPECT_EQ(pixels.pixel(94, 1), kRed);
    EXPECT_NE(pixels.pixel(100, 10), kRed);
    EXPECT_NE(pixels.pixel(10, 130), kRed);

    press({10, 10}, Qt::RightButton);
    EXPECT_FALSE(sprite("wide.png").rotated);
    EXPECT_EQ(sprite("wide.png").width, 128);
    EXPECT_EQ(canvasPixels().pixel(1, 1), kGreen);
}

TEST_F(CanvasMouseWindowTest, WithoutSpritesPressesShowNothingButTheWheelScrolls)
{
    // Inactive before any import, and after a folder with no pictures.
    for (const bool emptyImport : {false, true}) {
        if (emptyImport)
            openFolder(makeFolder("empty"));
        press({100, 100});
        dragTo({200, 200});
        release({200, 200});
        press({100, 100}, Qt::RightButton);
        EXPECT_EQ(labelText(kNameLabel), " ") << emptyImport;
        EXPECT_EQ(labelText(kPositionLabel), "Image X: 0 / Y: 0") << emptyImport;
    }

    auto* view = window->canvasView();
    const auto* scroll = static_cast<QScrollArea*>(window->gadget(kScrollAreaGadget));
    const auto turn = [&](int delta) {
        QWheelEvent event(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
        return scroll->verticalScrollBar()->value();
    };
    // A turn away from the user at the top leaves the record at -120; it is
    // brought back to 0 before the next turn is applied.
    EXPECT_EQ(turn(120), 0);
    EXPECT_EQ(turn(-120), 120);
    const int bottom = scroll->verticalScrollBar()->maximum();
    for (int i = 0; i < 8; ++i)
        turn(-120);
    EXPECT_EQ(turn(120), bottom - 120);

    // On the 4096 canvas a horizontal bar takes part of the area; the turns'
    // floor is measured on the whole scroll area all the same.
    static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector))->setCurrentIndex(2);
    QApplication::processEvents();
    ASSERT_LT(scroll->viewport()->height(), scroll->height());
    for (int i = 0; i < 40; ++i)
        turn(-120);
    EXPECT_EQ(turn(120), 4096 - scroll->height() - 120);
}

TEST_F(CanvasMouseWindowTest, ClipKeysMoveTheVisibleBoxWithinHalfTheSelectedPicturesWidth)
{
    const std::string folder = makeFolder("clip");
    writePng(folder + "ten.png", 10, 40, kRed);
    importPicture(folder + "ten.png");
    QTest::keyClick(window.get(), Qt::Key_Minus);
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 2 / Y: 0");
    EXPECT_EQ(canvasPixels().pixel(2, 10), qRgb(235, 235, 235)) << "away from the pivot cross at the middle";
    EXPECT_EQ(th::canvas::usedArea(window->model()).width, 8);
    window->onMenu(kMenuResetColumns);
    EXPECT_EQ(sprite("ten.png").x, -2) << "the columns start the visible boxes at 0";
    for (int i = 0; i < 2; ++i)
        window->menuAction(kMenuExpandClip)->trigger();
    EXPECT_EQ(window->model().clipMargin(), 0);
    EXPECT_EQ(labelText(kPositionLabel), "Image X: -2 / Y: 0");
    // At 0 the step changes nothing but still shows the read-out afresh.
    static_cast<QLabel*>(window->gadget(kPositionLabel))->setText("stale");
    window->menuAction(kMenuExpandClip)->trigger();
    EXPECT_EQ(labelText(kPositionLabel), "Image X: -2 / Y: 0");

    // The selected picture's width, turned or not, limits the steps of two;
    // the narrow picture beside it plays no part.
    std::filesystem::remove(folder + "ten.png");
    writePng(folder + "narrow.png", 2, 2, kRed);
    for (const auto& [width, height, turn, margins] :
         {std::tuple{10, 40, false, std::vector<int>{2, 4, 6, 6}}, {9, 40, false, {2, 4, 4, 4}}, {10, 50, true, {2, 4, 6, 6}}}) {
        SCOPED_TRACE(::testing::Message() << width << (turn ? " turned" : ""));
        host.answers = {true};
        openFolder(folder);
        writePng(home.folder() + "picked.png", width, height, kRed);
        importPicture(home.folder() + "picked.png");
        if (turn)
            press({sprite("picked.png").x + 1, 1}, Qt::RightButton);
        ASSERT_EQ(sprite("picked.png").rotated, turn);
        std::vector<int> seen;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(window.get(), Qt::Key_Minus);
            seen.push_back(window->model().clipMargin());
        }
        EXPECT_EQ(seen, margins);
    }
}

} // namespace
