#pragma once
// A main window over a scripted host and a real image library, in a
// temporary home, with helpers to write PNG files and drive the toolbar;
// and one whose export works, with helpers to drive the export window.

#include "app/MainWindow.h"

#include "app/MainWindowIds.h"
#include "app/Pictures.h"
#include "export/ExportWindow.h"
#include "image/ImageStore.h"
#include "image/StandardCodecs.h"
#include "toolkit/DataFolder.h"
#include "toolkit/PreferenceStore.h"
#include "testing/PngFile.h"
#include "testing/ScriptedHost.h"
#include "testing/TempHome.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

namespace th::testing {

using namespace th::app;

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

class MainWindowTest : public ::testing::Test {
protected:
    // A picture saved again is reloaded as soon as the watch hears of it.
    void SetUp() override
    {
        image::registerStandardCodecs(images);
        pictures = loadToolbarPictures(images);
        window = std::make_unique<MainWindow>(host, pictures, pictureAccess(images), std::chrono::milliseconds(0));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Writes a w x h PNG through the program's own encoder; pixel (u, v) is colour(u, v).
    void writePng(const std::string& path, int w, int h, const std::function<QRgb(int u, int v)>& colour)
    {
        const int number = makePicture(images, w, h, [&](int u, int v) {
            const QRgb c = colour(u, v);
            return Rgba{qRed(c), qGreen(c), qBlue(c), qAlpha(c)};
        });
        ASSERT_TRUE(images.save(number, path, th::image::kCodecPng, th::image::SaveFlags::None, 32).ok());
        images.free(number);
    }
    void writePng(const std::string& path, int w, int h, QRgb colour)
    {
        writePng(path, w, h, [=](int, int) { return colour; });
    }

    std::string makeFolder(const std::string& name)
    {
        const std::string folder = home.folder() + name + "/";
        std::filesystem::create_directories(folder);
        return folder;
    }

    void click(int gadget) { QTest::mouseClick(window->gadget(gadget), Qt::LeftButton); }

    void openFolder(const std::string& folder)
    {
        host.paths.push_back(folder);
        click(kOpenFolderButton);
    }
    void importPicture(const std::string& path)
    {
        host.paths.push_back(path);
        click(kImportImageButton);
    }

    // A press acts where the pointer was at the previous canvas event, so
    // the pointer moves there first, as a real pointer does.
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseMove(window->canvasView(), at);
        QTest::mousePress(window->canvasView(), button, modifiers, at);
    }
    // Drags the held sprite so that its move lands exactly at `to`.
    void dragTo(QPoint to)
    {
        QTest::mouseMove(window->canvasView(), to);
        QTest::mouseMove(window->canvasView(), to + QPoint(1, 1));
    }
    void release(QPoint at) { QTest::mouseRelease(window->canvasView(), Qt::LeftButton, {}, at); }
    QImage canvasPixels() const { return window->canvasView()->grab().toImage(); }

    QString labelText(int gadget) const { return static_cast<QLabel*>(window->gadget(gadget))->text(); }

    TempHome home;
    ScriptedHost host{home.folder()};
    th::image::ImageStore images;
    ToolbarPictures pictures;
    std::unique_ptr<MainWindow> window;
};

// The export works over a data folder made by a real first run, with a csv
// template that lists every sprite's box.
class ExportingWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        th::toolkit::PreferenceStore store;
        dataFolder = th::toolkit::prepareDataFolder(home.folder(), host.version, store);
        writeBytes(dataFolder + "sprites.txt", "th.Extension = \".csv\"\n"
                                               "sheet,th.SheetName,th.SheetWidth,th.SheetHeight,th.SheetNumber\n"
                                               "th.Repeat\n"
                                               "th.ImageNumber,th.ImageName,th.ImageX,th.ImageY,th.ImageWidth,"
                                               "th.ImageHeight,th.ImageRotate\n"
                                               "th.Until = th.ImageCount\n");
        window->enableExport(images, dataFolder);
    }

    // a.png (40 x 20) and b.png (20 x 20, its last two columns faint) opened
    // as a folder; a is turned, 20 wide and 40 tall at (0, 0), and b dragged
    // to (10, 10), over it.
    void arrangeTwoPictures()
    {
        const std::string folder = makeFolder("pics");
        writePng(folder + "a.png", 40, 20, [](int u, int v) { return qRgba(u * 6, v * 12, 90, 255); });
        writePng(folder + "b.png", 20, 20, [](int u, int) { return qRgba(20, 180, 20, u < 18 ? 255 : 33); });
        openFolder(folder);
        press({5, 5}, Qt::RightButton);
        press({45, 5});
        dragTo({15, 15});
        release({16, 16});
        ASSERT_EQ(th::canvas::usedArea(window->model()).width, 30);
        ASSERT_EQ(th::canvas::usedArea(window->model()).height, 40);
    }

    // The export window, opened by its button.
    th::exporting::ExportWindow* openExport()
    {
        click(kExportButton);
        th::exporting::ExportWindow* opened = window->exportWindow();
        EXPECT_TRUE(opened && opened->isVisible());
        return opened;
    }
    template <typename Gadget>
    Gadget* gadget(int number) const
    {
        return static_cast<Gadget*>(window->exportWindow()->gadget(number));
    }
    void clickExportGadget(int number) { QTest::mouseClick(gadget<QWidget>(number), Qt::LeftButton); }
    void choose(int list, const QString& entry)
    {
        auto* combo = gadget<QComboBox>(list);
        const int index = combo->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        combo->setCurrentIndex(index);
    }
    // Presses "Export" and lets a closed window go.
    void pressExport()
    {
        clickExportGadget(th::exporting::kRunExportButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::string dataFolder;
};

} // namespace th::testing
