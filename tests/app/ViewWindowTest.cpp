// The canvas view through the real window: zoom keeps picks, drags, the snap
// and the read-outs in canvas pixels, and drops from the file manager.

#include "MainWindowFixture.h"

#include "testing/DescribeCanvas.h"

#include <QAction>
#include <QComboBox>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

namespace {

using namespace th::app;
using th::testing::MainWindowTest;

const QRgb kRed = qRgb(220, 0, 0);
const QRgb kBlue = qRgb(0, 0, 220);

class ViewWindowTest : public MainWindowTest {
protected:
    QPoint spritePlace() const
    {
        const auto& sprite = window->model().sprites().entries().back();
        return {sprite.x, sprite.y};
    }
    // The view's top-left corner: at 400 % the whole view would take a gigabyte.
    QImage corner() const { return window->canvasView()->grab(QRect(0, 0, 400, 400)).toImage(); }
    QScrollArea* scrollArea() const { return static_cast<QScrollArea*>(window->gadget(kScrollAreaGadget)); }
    // Drags the items over the canvas and drops them at `at` (view pixels),
    // as the file manager would; false when the canvas refused them.
    bool drop(const std::vector<std::string>& items, QPoint at)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& item : items)
            urls << QUrl::fromLocalFile(QString::fromStdString(item));
        data.setUrls(urls);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->canvasView(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->canvasView(), &dropped);
        return true;
    }
};

TEST_F(ViewWindowTest, PicksDragsSnapAndReadoutsStayInCanvasPixelsAtEveryZoom)
{
    static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector))->setCurrentIndex(2);
    // Left half red, right half blue: the edge shows how pixels are enlarged.
    writePng(home.folder() + "s.png", 32, 32, [](int u, int) { return u < 16 ? kRed : kBlue; });
    importPicture(home.folder() + "s.png");

    for (const auto& [item, zoom] : {std::pair{kMenuZoom25, 0.25}, {kMenuZoom400, 4.0}, {kMenuZoom100, 1.0}}) {
        SCOPED_TRACE(zoom);
        window->menuAction(item)->trigger();
        EXPECT_EQ(window->canvasView()->size(), QSize(int(4096 * zoom), int(4096 * zoom)));
        // clang 14 cannot capture a structured binding, so the scale is copied.
        const auto view = [scale = zoom](int x, int y) { return QPoint(int(x * scale), int(y * scale)); };

        press(view(8, 8));
        if (zoom == 4.0) {
            // Enlarged pixel for pixel, held or not: no column mixes red and blue.
            const QImage held = corner();
            EXPECT_GT(qRed(held.pixel(63, 40)), qBlue(held.pixel(63, 40)));
            EXPECT_GT(qBlue(held.pixel(64, 40)), qRed(held.pixel(64, 40)));
        }
        dragTo(view(48, 28));
        release(view(48, 28));
        EXPECT_EQ(spritePlace(), QPoint(40, 20));
        EXPECT_EQ(labelText(kPositionLabel), "Image X: 40 / Y: 20");

        // Grabbed 8 pixels in, dragged so the corner would be at (53, 33):
        // the snap puts it on the next grid lines.
        click(kSnapSwitch);
        press(view(48, 28));
        dragTo(view(61, 41));
        release(view(61, 41));
        click(kSnapSwitch);
        EXPECT_EQ(spritePlace(), QPoint(56, 40));
        EXPECT_EQ(labelText(kPositionLabel), "Image X: 56 / Y: 40");
        if (zoom == 4.0) {
            const QImage pixels = corner();
            EXPECT_EQ(pixels.pixel(56 * 4 + 63, 170), kRed);
            EXPECT_EQ(pixels.pixel(56 * 4 + 64, 170), kBlue);
        }
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(spritePlace(), QPoint(0, 0));
    }

    // The keys step from 100 %; Fit shows the whole canvas and keeps doing so
    // as the window grows.
    for (const auto& [key, zoom] : {std::pair{Qt::Key_Equal, 2.0}, {Qt::Key_Minus, 1.0}, {Qt::Key_Minus, 0.5}}) {
        QTest::keyClick(window.get(), key, Qt::ControlModifier);
        EXPECT_EQ(window->canvasView()->zoom(), zoom);
    }
    // Ctrl and the wheel keep the canvas pixel under the pointer in place.
    const QPoint pointer = window->canvasView()->mapTo(scrollArea()->viewport(), QPoint(150, 100));
    QWheelEvent turn(QPointF(150, 100), {}, {}, QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(window->canvasView(), &turn);
    EXPECT_EQ(window->canvasView()->zoom(), 1.0);
    EXPECT_EQ(window->canvasView()->mapTo(scrollArea()->viewport(), QPoint(300, 200)), pointer);
    window->menuAction(kMenuZoomFit)->trigger();
    EXPECT_EQ(window->canvasView()->size(), QSize(512, 512));
    window->resize(window->width(), window->height() + 200);
    QApplication::processEvents();
    EXPECT_EQ(window->canvasView()->size(), QSize(712, 712));
    EXPECT_FALSE(scrollArea()->verticalScrollBar()->isVisible());
}

TEST_F(ViewWindowTest, DroppedPicturesLandWhereDroppedAndAFolderAsIfOpenedWhileTheRestIsNamed)
{
    const std::string pictures = makeFolder("pictures");
    writePng(pictures + "a.png", 8, 8, kRed);
    writePng(pictures + "b.png", 6, 4, kBlue);
    const std::string notes = home.folder() + "notes.txt";
    th::testing::writeBytes(notes, "text");
    th::testing::writeBytes(home.folder() + "broken.png", "not a picture");

    EXPECT_FALSE(drop({notes}, {10, 10})) << "the drag cursor refuses a drag of nothing the canvas takes";
    EXPECT_TRUE(host.shown.empty());

    // At 200 % with the snap on, view (41, 61) is canvas (20, 30), snapped to (24, 32).
    window->menuAction(kMenuZoom200)->trigger();
    click(kSnapSwitch);
    ASSERT_TRUE(drop({pictures + "a.png", notes, pictures + "b.png", home.folder() + "broken.png"}, {41, 61}));
    EXPECT_EQ(th::canvas::testing::describe(window->model()),
              "a.png#1@24,32 8x8 b.png#2@24,32 6x4 | current b.png, clip 0, place 0,0, active, size 1024");
    EXPECT_EQ(window->menuAction(kMenuUndo)->text(), "Undo Import");
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].text,
              "Skipped: \"notes.txt\", \"broken.png\". The canvas takes PNG pictures, or one folder on its own.");

    host.answers.push_back(true);
    ASSERT_TRUE(drop({pictures, notes}, {0, 0}));
    EXPECT_EQ(host.titles(), (std::vector<std::string>{"Wait!", "Clear the Canvas?", "Wait!"}));
    EXPECT_EQ(host.shown.back().text, "Skipped: \"notes.txt\". The canvas takes PNG pictures, or one folder on its own.");
    EXPECT_EQ(th::canvas::testing::describe(window->model()),
              "a.png#1@0,0 8x8 b.png#2@8,0 6x4 | current b.png, clip 0, place 14,0, active, size 1024");
}

} // namespace
