#include "MainWindowFixture.h"

#include <QAction>
#include <QComboBox>

namespace {

using namespace th::app;
using th::testing::MainWindowTest;

// Records which picture a label showed each time it was painted.
class PaintedPictures : public QObject {
public:
    explicit PaintedPictures(QLabel* label) : label_(label) { label->installEventFilter(this); }
    std::vector<qint64> keys;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            keys.push_back(label_->pixmap().cacheKey());
        return false;
    }

private:
    QLabel* label_;
};

TEST_F(MainWindowTest, StartsWithTheWindowsGeometryAndTextsAndFollowsResizes)
{
    EXPECT_EQ(window->windowTitle(), "Tile Heron v2");
    EXPECT_EQ(window->centralWidget()->size(), QSize(1039, 544));
    // The toolbar row's gadgets lie inside the row (the labels' boxes have
    // always reached one pixel below its 32), and its pictures stand apart.
    const QRect row(0, 0, window->centralWidget()->width(), 33);
    for (int gadget = kCanvasSizeLabel; gadget <= kSnapLabel; ++gadget) {
        if (gadget == kOpenFolderButton - 1)
            continue; // no gadget has this number
        ASSERT_TRUE(window->gadget(gadget)) << gadget;
        const QRect place = window->gadget(gadget)->geometry();
        EXPECT_TRUE(row.contains(place)) << gadget;
        for (int other = kOpenFolderButton; other < gadget && gadget <= kSnapSwitch; ++other)
            EXPECT_FALSE(place.intersects(window->gadget(other)->geometry())) << gadget << " " << other;
    }
    EXPECT_EQ(window->gadget(kScrollAreaGadget)->geometry(), QRect(0, 32, 1039, 512));
    EXPECT_EQ(window->canvasView()->geometry(), QRect(0, 0, 1024, 1024));
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 0 / Y: 0");
    EXPECT_EQ(labelText(kNameLabel), " ");
    EXPECT_EQ(window->gadget(kExportButton)->toolTip(), "Export Sprite Sheet");
    EXPECT_EQ(static_cast<QLabel*>(window->gadget(kExportButton))->pixmap().size(), QSize(24, 24));
    EXPECT_EQ(pictures.backgroundTile.size(), QSize(128, 128));
    EXPECT_EQ(pictures.byNumber.value(0).cacheKey(),
              static_cast<QLabel*>(window->gadget(kOpenFolderButton))->pixmap().cacheKey());

    // The canvas is centred only with room for a scroll bar; odd widths drop
    // the half: W = 1401 gives R = 800 and (1401 - 180 - 800) / 2 = 210.
    for (const auto& [width, height, canvasX, positionX, snapX] :
         {std::tuple{1040, 544, 8, 420, 675}, {1400, 700, 188, 600, 945}, {1401, 700, 188, 600, 945}}) {
        window->resize(width, height + window->height() - window->centralWidget()->height());
        QApplication::processEvents();
        EXPECT_EQ(window->gadget(kScrollAreaGadget)->geometry(), QRect(0, 32, width, height - 32)) << width;
        EXPECT_EQ(window->canvasView()->x(), canvasX) << width;
        EXPECT_EQ(window->gadget(kPositionLabel)->x(), positionX) << width;
        EXPECT_EQ(window->gadget(kSnapSwitch)->x(), snapX) << width;
    }
    static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector))->setCurrentIndex(2);
    EXPECT_EQ(window->canvasView()->geometry(), QRect(0, 0, 4096, 4096));
}

TEST_F(MainWindowTest, FolderImportLaysOutRowsAndSkipsWhatItCannotRead)
{
    const std::string folder = makeFolder("sprites");
    for (int i = 1; i <= 10; ++i)
        writePng(folder + (i < 10 ? "0" : "") + std::to_string(i) + ".png", 256, 256, qRgba(200, 10, 10, 255));
    writePng(folder + "upper.PNG", 256, 256, qRgba(0, 0, 255, 255));
    th::testing::writeBytes(folder + "broken.png", "not a picture");

    openFolder(folder);
    EXPECT_EQ(placesAndIndices(), (std::vector<std::tuple<int, int, int>>{
                                      {0, 0, 1}, {256, 0, 2}, {512, 0, 3}, {768, 0, 4}, {0, 256, 5},
                                      {256, 256, 6}, {512, 256, 7}, {768, 256, 8}, {0, 512, 9}, {256, 512, 10}}));
    EXPECT_EQ(window->model().sprites.entries().back().name, "10.png");
    EXPECT_EQ(labelText(kNameLabel), "10.png");
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_EQ(host.shown[0].title, "Select Image Folder...");
    EXPECT_EQ(host.shown[1].title, "Wait!");
    EXPECT_EQ(host.shown[1].text, "1 file could not be read as a PNG picture and was skipped.");
    EXPECT_EQ(window->model().sheetExtentX, 1024);
    EXPECT_EQ(window->model().sheetExtentY, 768);
}

TEST_F(MainWindowTest, AnsweringNoToClearingAsksForNoFolder)
{
    const std::string folder = makeFolder("two");
    writePng(folder + "a.png", 16, 16, qRgba(1, 2, 3, 255));
    openFolder(folder);
    host.shown.clear();
    host.answers.push_back(false);
    click(kOpenFolderButton);
    EXPECT_EQ(host.titles(), std::vector<std::string>{"Clear the Canvas?"});
    EXPECT_EQ(host.shown[0].text, "Are you sure you want to clear the canvas and load new images?");
    EXPECT_EQ(window->model().sprites.size(), 1u);
}

TEST_F(MainWindowTest, SingleImportsLandAtTheImportPlace)
{
    const std::string folder = makeFolder("one");
    writePng(folder + "ship.png", 40, 30, qRgba(9, 9, 9, 255));
    host.paths = {folder + "ship.png", folder + "ship.png"};
    click(kImportImageButton);
    click(kImportImageButton);
    EXPECT_EQ(placesAndIndices(), (std::vector<std::tuple<int, int, int>>{{0, 0, 1}, {0, 0, 2}}));
    EXPECT_EQ(host.shown[0].title, "Select Image...");
    EXPECT_EQ(host.shown[0].pattern, "*.png");
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 0 / Y: 0");

    host.paths = {folder + "missing.png"};
    click(kImportImageButton);
    EXPECT_EQ(host.shown.back().title, "Wait!");
    EXPECT_EQ(window->model().sprites.size(), 2u);
}

TEST_F(MainWindowTest, MenuItemsAndShortcutsFollowTheSpriteCount)
{
    const auto expectCanvasItems = [&](bool any, bool columns) {
        EXPECT_EQ(window->menuAction(kMenuNewCanvas)->isEnabled(), any);
        EXPECT_EQ(window->menuAction(kMenuDeleteImage)->isEnabled(), any);
        EXPECT_EQ(window->menuAction(kMenuExportSheet)->isEnabled(), any);
        EXPECT_EQ(window->menuAction(kMenuClipAlpha)->isEnabled(), any);
        EXPECT_EQ(window->menuAction(kMenuResetColumns)->isEnabled(), columns);
        EXPECT_EQ(window->menuAction(kMenuResetColumns)->shortcut().isEmpty(), !columns);
        EXPECT_EQ(window->menuAction(kMenuDeleteImage)->shortcut(), any ? QKeySequence(Qt::Key_Backspace) : QKeySequence());
        EXPECT_TRUE(window->menuAction(kMenuOpenImageFolder)->isEnabled());
        EXPECT_TRUE(window->menuAction(kMenuSaveScript)->shortcut().isEmpty());
    };
    expectCanvasItems(false, false);

    const std::string folder = makeFolder("three");
    writePng(folder + "a.png", 8, 8, qRgba(1, 1, 1, 255));
    writePng(folder + "b.png", 8, 8, qRgba(1, 1, 1, 255));
    host.paths.push_back(folder);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_EQ(window->model().sprites.size(), 2u);
    expectCanvasItems(true, false);

    host.paths.push_back(folder + "a.png");
    QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_EQ(window->model().sprites.size(), 3u);
    expectCanvasItems(true, true);
}

TEST_F(MainWindowTest, MenuItemFlashesItsButtonBeforeActing)
{
    const std::string folder = makeFolder("flash");
    writePng(folder + "a.png", 8, 8, qRgba(1, 1, 1, 255));
    openFolder(folder);
    PaintedPictures painted(static_cast<QLabel*>(window->gadget(kDeleteImageButton)));
    host.answers.push_back(false);
    window->menuAction(kMenuDeleteImage)->trigger();
    QTest::qWait(50);
    ASSERT_FALSE(painted.keys.empty());
    EXPECT_EQ(painted.keys.front(), pictures.byNumber.value(7).cacheKey());
    EXPECT_EQ(painted.keys.back(), pictures.byNumber.value(2).cacheKey());
    EXPECT_EQ(host.titles().back(), "Delete Image?");
    EXPECT_EQ(window->model().sprites.size(), 1u);
}

TEST_F(MainWindowTest, DeletingAndClearingReturnToAnEmptyCanvas)
{
    click(kDeleteImageButton);
    click(kNewCanvasButton);
    click(kExportButton);
    ASSERT_EQ(host.shown.size(), 3u);
    EXPECT_EQ(host.shown[0].text, "There are no images to delete!");
    EXPECT_EQ(host.shown[1].text, "There are no images to clear from the grid.");
    EXPECT_EQ(host.shown[2].title, "No Images!");
    EXPECT_EQ(host.shown[2].text, "There are no images to build a sprite sheet.");

    // Deleting index 2 of 4 is in CanvasMouseWindowTest.
    const std::string folder = makeFolder("one");
    writePng(folder + "a.png", 10, 10, qRgba(1, 1, 1, 255));
    openFolder(folder);
    host.answers = {true};
    click(kNewCanvasButton);
    EXPECT_TRUE(window->model().sprites.empty());
    EXPECT_EQ(window->model().canvasActive, 0);
    EXPECT_EQ(labelText(kNameLabel), " ");
    EXPECT_EQ(labelText(kPositionLabel), "Image X: 0 / Y: 0");
}

TEST_F(MainWindowTest, CanvasShowsSpritesAndTheOverlay)
{
    const std::string folder = makeFolder("paint");
    writePng(folder + "a.png", 64, 64, qRgba(200, 0, 0, 255));
    writePng(folder + "b.png", 64, 32, qRgba(0, 0, 200, 128));
    openFolder(folder);
    const QImage canvas = window->canvasView()->grab().toImage();
    const QRgb orange = qRgb(255, 128, 0);
    EXPECT_EQ(canvas.pixel(10, 10), qRgb(200, 0, 0));
    // The used area is 128 x 64; its outline runs along column 127 and row 63.
    EXPECT_EQ(canvas.pixel(127, 40), orange);
    EXPECT_EQ(canvas.pixel(20, 63), orange);
    // The selected sprite (the last one) has its box drawn in orange.
    EXPECT_EQ(canvas.pixel(64, 10), orange);
    EXPECT_EQ(canvas.pixel(100, 31), orange);
    // Half-transparent blue over the background tile.
    const QRgb blended = canvas.pixel(100, 10);
    EXPECT_GT(qBlue(blended), 100);
    EXPECT_LT(qBlue(blended), 200);
    // The sheet size label "128x64" sits inside the bottom-right corner.
    int black = 0;
    for (int y = 40; y < 63; ++y)
        for (int x = 80; x < 127; ++x)
            black += canvas.pixel(x, y) == qRgb(0, 0, 0);
    EXPECT_GT(black, 5);
    // Outside the used area only the background shows.
    EXPECT_EQ(canvas.pixel(300, 300), window->canvasView()->grab(QRect(300 + 128, 300, 1, 1)).toImage().pixel(0, 0));
}

} // namespace
