// The mouse, the alpha clip and the column layout through the real window.

#include "MainWindowFixture.h"

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
        for (const auto& entry : window->model().sprites.entries())
            if (entry.name == name)
                return entry;
        throw std::runtime_error("no sprite " + name);
    }
    std::vector<std::string> drawingOrder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : window->model().sprites.entries())
            names.push_back(entry.name);
        return names;
    }
    void importSingle(const std::string& path)
    {
        host.paths.push_back(path);
        click(kImportImageButton);
    }
};

TEST_F(CanvasMouseWindowTest, PickedSpriteComesToTheTopAtHalfOpacityUntilReleased)
{
    const std::string folder = makeFolder("overlap");
    writePng(folder + "big.png", 64, 64, qRgba(220, 0, 0, 255));
    writePng(folder + "small.png", 32, 32, qRgba(0, 0, 220, 255));
    importSingle(folder + "big.png");
    importSingle(folder + "small.png");
    EXPECT_EQ(canvasPixels().pixel(10, 10), kBlue);

    press({40, 40});
    EXPECT_EQ(drawingOrder(), (std::vector<std::string>{"small.png", "big.png"}));
    EXPECT_FLOAT_EQ(sprite("big.png").opacity, 0.5f);
    const QRgb held = canvasPixels().pixel(10, 10);
    EXPECT_NEAR(qRed(held), 110, 3);
    EXPECT_NEAR(qBlue(held), 110, 3);
    EXPECT_EQ(labelText(kNameLabel), "big.png");

    release({40, 40});
    EXPECT_FLOAT_EQ(sprite("big.png").opacity, 1.0f);
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
    EXPECT_EQ(drawingOrder().back(), "ghost.png");

    // A right press on empty canvas turns nothing; the first sprite is current.
    press({500, 500}, Qt::RightButton);
    EXPECT_FALSE(sprite("ghost.png").rotated);
    EXPECT_FALSE(sprite("solid.png").rotated);
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 64 / Y: 0");
}

TEST_F(CanvasMouseWindowTest, SnappedDragLandsOnTheGrid)
{
    const std::string folder = makeFolder("snap");
    writePng(folder + "s.png", 64, 64, kRed);
    importSingle(folder + "s.png");
    click(kSnapSwitch);
    ASSERT_TRUE(window->snapToGrid());

    press({5, 5});
    dragTo({40, 40}); // dx = 35 snaps to 35 - 3 + 8
    EXPECT_EQ(sprite("s.png").x, 40);
    EXPECT_EQ(sprite("s.png").y, 40);
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 40 / Y: 40");
    dragTo({2, 13}); // dx = -3, dy = 8: -3 - (-3) + 8 and 8 - 0 + 8
    EXPECT_EQ(sprite("s.png").x, 8);
    EXPECT_EQ(sprite("s.png").y, 16);
    release({3, 14});

    click(kSnapSwitch);
    press({10, 20});
    dragTo({107, 203});
    release({108, 204});
    EXPECT_EQ(sprite("s.png").x, 105);
    EXPECT_EQ(sprite("s.png").y, 199);
}

TEST_F(CanvasMouseWindowTest, RightPressTurnsAQuarterCounterClockwiseAndBack)
{
    const std::string folder = makeFolder("turn");
    writePng(folder + "wide.png", 128, 96, kRed, kGreen);
    importSingle(folder + "wide.png");
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

TEST_F(CanvasMouseWindowTest, BeforeAnyImportPressesDoNothingButTheWheelScrolls)
{
    press({100, 100});
    dragTo({200, 200});
    release({200, 200});
    press({100, 100}, Qt::RightButton);
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 0 / Y: 0");

    auto* view = window->canvasView();
    QWheelEvent towardsUser(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, -120),
                            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &towardsUser);
    const auto* scroll = static_cast<QScrollArea*>(window->gadget(kScrollAreaGadget));
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 120);
}

TEST_F(CanvasMouseWindowTest, ClipKeysMoveTheVisibleBox)
{
    const std::string folder = makeFolder("clip");
    writePng(folder + "ten.png", 10, 40, kRed);
    importSingle(folder + "ten.png");
    QTest::keyClick(window.get(), Qt::Key_Minus);
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 2 / Y: 0");
    EXPECT_EQ(canvasPixels().pixel(2, 20), qRgb(235, 235, 235));
    // Half the width (5) still allows the step from 4 to 6, and no further.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(window.get(), Qt::Key_Minus);
    EXPECT_EQ(window->model().clipMargin, 6);
    EXPECT_EQ(window->model().sheetExtentX, 4);

    window->menuAction(kMenuExpandClip)->trigger();
    EXPECT_EQ(window->model().clipMargin, 4);
}

TEST_F(CanvasMouseWindowTest, ResetColumnsFollowsTheSelectedSpritesRightEdge)
{
    const std::string folder = makeFolder("columns");
    for (const char* name : {"1.png", "2.png", "3.png", "4.png", "5.png"})
        writePng(folder + name, 100, 50, kRed);
    openFolder(folder);
    press({450, 25});
    dragTo({250, 25});
    release({250, 25});
    ASSERT_EQ(sprite("5.png").x, 200);

    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    std::vector<std::pair<int, int>> places;
    for (const char* name : {"1.png", "2.png", "3.png", "4.png", "5.png"})
        places.emplace_back(sprite(name).x, sprite(name).y);
    EXPECT_EQ(places, (std::vector<std::pair<int, int>>{{0, 0}, {100, 0}, {200, 0}, {0, 50}, {100, 50}}));
}

TEST_F(CanvasMouseWindowTest, DeletingThePickedSpriteRenumbersTheRest)
{
    const std::string folder = makeFolder("four");
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        writePng(folder + name, 10, 10, kRed);
    openFolder(folder);
    press({15, 5});
    release({15, 5});
    host.answers = {true};
    click(kDeleteImageButton);
    std::vector<std::pair<std::string, int>> left;
    for (const auto& entry : window->model().sprites.entries())
        left.emplace_back(entry.name, entry.index);
    EXPECT_EQ(left, (std::vector<std::pair<std::string, int>>{{"a.png", 1}, {"c.png", 2}, {"d.png", 3}}));
}

} // namespace
