#include "MainWindowFixture.h"

#include "toolkit/PreferenceStore.h"

#include <QAction>
#include <QComboBox>

namespace {

using namespace th::app;
using th::testing::MainWindowTest;
using th::testing::PaintedPictures;

TEST_F(MainWindowTest, ToolbarGadgetsStandApartAndTheCanvasIsCentredAsTheWindowResizes)
{
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
    // The label's words end clear of the selector that overlaps its place.
    const auto* sizeLabel = static_cast<QLabel*>(window->gadget(kCanvasSizeLabel));
    const int wordsEnd = sizeLabel->geometry().right() + 1 - sizeLabel->contentsMargins().right();
    EXPECT_GE(wordsEnd - sizeLabel->fontMetrics().horizontalAdvance(sizeLabel->text()), sizeLabel->x());
    EXPECT_LE(wordsEnd + 2, window->gadget(kCanvasSizeSelector)->x()) << wordsEnd;
    // The words "Snap to Grid" work the switch too.
    click(kSnapLabel);
    EXPECT_TRUE(window->snapToGrid());
    click(kSnapLabel);
    EXPECT_FALSE(window->snapToGrid());

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
    auto* sizes = static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector));
    sizes->setFocus();
    sizes->setCurrentIndex(2);
    EXPECT_EQ(QApplication::focusWidget(), window->canvasView()) << "arrow keys no longer reach the sizes";
    EXPECT_EQ(window->canvasView()->geometry(), QRect(0, 0, 4096, 4096));
}

// Which items the sprite count enables is the menu state's rule; here the
// window's keys reach their items, it applies the state after each change,
// keeps the import order in the preference file, flashes an item's button
// before acting, and paints what it opened.
TEST_F(MainWindowTest, MenuKeysAndChoicesActOnTheCanvasThatShowsSpritesAndTheOverlay)
{
    click(kExportButton);
    EXPECT_EQ(host.titles(), std::vector<std::string>{"No Images!"});

    th::toolkit::PreferenceStore store;
    const std::string prefs = home.folder() + "prefs";
    QAction* natural = window->menuAction(kMenuNaturalOrder);
    window->enableScriptEditor(store, prefs, home.folder());
    EXPECT_FALSE(natural->isChecked());
    natural->trigger();
    EXPECT_TRUE(natural->isChecked());
    EXPECT_NE(th::testing::readBytes(prefs).find("[Import]\nNaturalOrder = 1\n"), std::string::npos);

    // In natural order a2 is imported first, so it stands at the left.
    const std::string folder = makeFolder("paint");
    writePng(folder + "a2.png", 64, 64, qRgba(200, 0, 0, 255));
    writePng(folder + "a10.png", 64, 32, qRgba(0, 0, 200, 128));
    host.paths.push_back(folder);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_EQ(window->model().sprites().size(), 2u);
    EXPECT_EQ(window->model().sprites().entries().front().name, "a2.png");
    EXPECT_FALSE(window->menuAction(kMenuResetColumns)->isEnabled());

    const QImage canvas = canvasPixels();
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

    host.paths.push_back(folder + "a2.png");
    QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_EQ(window->model().sprites().size(), 3u);
    EXPECT_TRUE(window->menuAction(kMenuResetColumns)->isEnabled());

    PaintedPictures painted(static_cast<QLabel*>(window->gadget(kDeleteImageButton)));
    host.answers.push_back(false);
    window->menuAction(kMenuDeleteImage)->trigger();
    QApplication::processEvents(); // the item's action is posted
    ASSERT_FALSE(painted.keys.empty());
    EXPECT_EQ(painted.keys.front(), pictures.byNumber.value(7).cacheKey());
    EXPECT_EQ(painted.keys.back(), pictures.byNumber.value(2).cacheKey());
    EXPECT_EQ(host.titles().back(), "Delete Image?");
    EXPECT_EQ(window->model().sprites().size(), 3u);

    // The next start reads the import order back.
    MainWindow next(host, pictures, pictureAccess(images));
    next.enableScriptEditor(store, prefs, home.folder());
    EXPECT_TRUE(next.menuAction(kMenuNaturalOrder)->isChecked());
}

} // namespace
