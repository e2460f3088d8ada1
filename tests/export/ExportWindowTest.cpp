// The export from the main window's button to the files: the real windows,
// a scripted host, real PNG files imported and written, libpng reading the
// sheets back and the scripts compared byte for byte.

#include "MainWindowFixture.h"
#include "testing/PngFile.h"

#include "toolkit/DefaultTemplates.h"
#include "toolkit/PreferenceStore.h"
#include "editor/ScriptEditorLayout.h"
#include "editor/ScriptEditorWindow.h"
#include "export/ExportWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>

namespace {

using namespace th::app;
using namespace th::exporting;
using th::testing::PaintedPictures;
using th::testing::PngFile;
using th::testing::readPng;
using th::testing::Rgba;
using th::testing::readBytes;
using th::testing::writeBytes;

// The pictures: a 40 x 20 one with four coloured corners on grey, and a
// 20 x 20 one, green, whose last two columns have alpha 33 and 32.
const Rgba kGrey{100, 100, 100, 255};
const Rgba kCornerTopLeft{255, 0, 0, 255};
const Rgba kCornerTopRight{0, 0, 255, 255};
const Rgba kCornerBottomLeft{255, 255, 0, 255};
const Rgba kCornerBottomRight{255, 255, 255, 255};
const Rgba kGreen{20, 180, 20, 255};
const Rgba kEdge{200, 120, 40, 255};

const std::string kExported = "message|Exported!|Your file(s) have been saved to disk.|";

const std::string kSpritesTemplate =
    "th.Extension = \".csv\"\n"
    "sheet,th.SheetName,th.SheetWidth,th.SheetHeight,th.SheetNumber\n"
    "th.Repeat\n"
    "th.ImageNumber,th.ImageName,th.ImageX,th.ImageY,th.ImageWidth,th.ImageHeight,th.ImageRotate\n"
    "th.Until = th.ImageCount\n";

class ExportWindowTest : public th::testing::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        dataFolder = makeFolder("data");
        for (const th::toolkit::DefaultTemplate& entry : th::toolkit::defaultTemplates())
            ASSERT_TRUE(th::toolkit::writeDefaultTemplate(dataFolder, entry));
        writeBytes(dataFolder + "sprites.txt", kSpritesTemplate);
        writeBytes(dataFolder + "a.txt.txt", "th.Extension = \".a\"\n");
        writeBytes(dataFolder + "NOTES.TXT", "not a template\n");
        window->enableExport(images, dataFolder);
        out = makeFolder("out");
    }

    // Imports the two pictures, turns the wide one (it becomes 20 wide, 40
    // tall at (0, 0)) and drags the square one to (10, 10), over it. The
    // list order is then wide, square: the square one is drawn on top.
    void buildCanvas()
    {
        const std::string folder = makeFolder("pics");
        writePicture(folder + "a.png", 40, 20, [](int u, int v) {
            if (u == 0 && v == 0) return kCornerTopLeft;
            if (u == 39 && v == 0) return kCornerTopRight;
            if (u == 0 && v == 19) return kCornerBottomLeft;
            if (u == 39 && v == 19) return kCornerBottomRight;
            return kGrey;
        });
        writePicture(folder + "b.png", 20, 20, [](int u, int) {
            if (u == 18) return Rgba{kEdge[0], kEdge[1], kEdge[2], 33};
            if (u == 19) return Rgba{kEdge[0], kEdge[1], kEdge[2], 32};
            return kGreen;
        });
        openFolder(folder);
        press({5, 5}, Qt::RightButton);
        press({45, 5});
        dragTo({15, 15});
        release({16, 16});
        ASSERT_EQ(th::canvas::usedArea(window->model()).width, 30);
        ASSERT_EQ(th::canvas::usedArea(window->model()).height, 40);
    }

    void writePicture(const std::string& path, int w, int h, const std::function<Rgba(int, int)>& colour)
    {
        writePng(path, w, h, [&](int u, int v) { const Rgba c = colour(u, v); return qRgba(c[0], c[1], c[2], c[3]); });
    }

    ExportWindow* openExport()
    {
        click(kExportButton);
        ExportWindow* opened = window->exportWindow();
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
    void chooseSheetPath(const std::string& path)
    {
        host.paths.push_back(path);
        clickExportGadget(kSheetPathButton);
    }
    // Presses "Export" and lets a closed window go.
    void pressExport()
    {
        clickExportGadget(kRunExportButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The last message or panel: kind|title|text|pattern.
    std::string lastShown() const
    {
        const auto& s = host.shown.back();
        return s.kind + "|" + s.title + "|" + s.text + "|" + s.pattern;
    }
    // The window's choices in one line; "script" gives whether the script's
    // label, field and button are enabled, "sheet" the sheet path button.
    std::string choices() const
    {
        const auto* number = gadget<QSpinBox>(kSheetNumberField);
        const auto* extrude = gadget<QSpinBox>(kExtrudeField);
        return (QStringList{gadget<QLineEdit>(kSheetPathField)->text(), gadget<QComboBox>(kDepthList)->currentText(),
                            QString("retina %1").arg(gadget<QCheckBox>(kRetinaBox)->isChecked()),
                            QString("power %1").arg(gadget<QCheckBox>(kPowerOfTwoBox)->isChecked()),
                            gadget<QComboBox>(kBackgroundList)->currentText(),
                            QString("%1 of %2-%3").arg(number->value()).arg(number->minimum()).arg(number->maximum()),
                            QString("extrude %1 of %2-%3").arg(extrude->value()).arg(extrude->minimum()).arg(extrude->maximum()),
                            gadget<QComboBox>(kTemplateList)->currentText(), "script " + scriptEnabled(),
                            QString("sheet %1").arg(gadget<QPushButton>(kSheetPathButton)->isEnabled())})
            .join('|')
            .toStdString();
    }
    QString scriptEnabled() const
    {
        return QString("%1%2%3").arg(gadget<QLabel>(kSaveScriptLabel)->isEnabled())
            .arg(gadget<QLineEdit>(kScriptPathField)->isEnabled()).arg(gadget<QPushButton>(kScriptPathButton)->isEnabled());
    }

    std::string dataFolder;
    std::string out;
};

TEST_F(ExportWindowTest, OpensCentredOverTheMainWindowWithEveryGadgetInsideAndApart)
{
    buildCanvas();
    ExportWindow* exportWindow = openExport();
    ASSERT_TRUE(exportWindow);
    EXPECT_EQ(exportWindow->windowTitle(), "Export Sprite Sheet & Script");
    EXPECT_EQ(exportWindow->size(), QSize(360, 305));
    EXPECT_TRUE(exportWindow->isWindow());
    EXPECT_EQ(exportWindow->parentWidget(), window.get()) << "kept above the main window";
    EXPECT_LE((exportWindow->geometry().center() - window->geometry().center()).manhattanLength(), 2);

    // Every gadget lies inside the window and is shown; gadgets overlap only
    // where one lies wholly inside a frame.
    const QRect inside(QPoint(0, 0), exportWindow->size());
    for (int number = kSheetFrame; number <= kRunExportButton; ++number) {
        SCOPED_TRACE(number);
        QWidget* gadget = exportWindow->gadget(number);
        ASSERT_TRUE(gadget);
        EXPECT_TRUE(gadget->isVisible());
        EXPECT_TRUE(inside.contains(gadget->geometry()));
        for (int other = kSheetFrame; other < number; ++other) {
            const QRect a = gadget->geometry();
            const QRect b = exportWindow->gadget(other)->geometry();
            const bool framed = ((other == kSheetFrame || other == kScriptFrame) && b.contains(a));
            EXPECT_TRUE(!a.intersects(b) || framed) << "overlaps " << other;
        }
    }

    const auto entries = [this](int list) {
        QStringList texts;
        for (int i = 0; i < gadget<QComboBox>(list)->count(); ++i)
            texts << gadget<QComboBox>(list)->itemText(i);
        return texts;
    };
    // Only *.txt names are templates, listed without the extension.
    EXPECT_EQ(entries(kTemplateList), (QStringList{"Select a script...", "Clipboard", "HTML5", "Multi Loops",
                                                   "Pure Data", "a.txt", "plist", "sprites"}));

    // Every export window starts from the same choices.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(choices(), "|32 bit|retina 0|power 0|RGB 0 0 0|0 of 0-9999|extrude 0 of 0-8|Select a script...|script 000|sheet 1");
        chooseSheetPath(out + "x.png");
        gadget<QCheckBox>(kRetinaBox)->click();
        gadget<QCheckBox>(kPowerOfTwoBox)->click();
        choose(kDepthList, "8 bit");
        choose(kBackgroundList, "RGB 255 0 255");
        // 12 and 18 bit keep the transparency: the background rests, kept.
        for (const auto& [depth, used] : {std::pair{"12 bit", false}, {"18 bit", false}, {"8 bit", true}}) {
            choose(kDepthList, depth);
            EXPECT_EQ(gadget<QComboBox>(kBackgroundList)->isEnabled(), used) << depth;
        }
        gadget<QSpinBox>(kSheetNumberField)->setValue(12);
        gadget<QSpinBox>(kExtrudeField)->setValue(2);
        choose(kTemplateList, "plist");
        EXPECT_EQ(choices(), out + "x.png|8 bit|retina 1|power 1|RGB 255 0 255|12 of 0-9999|extrude 2 of 0-8|plist|script 111|sheet 1");
        if (round == 0) {
            clickExportGadget(kCancelButton);
        } else {
            window->exportWindow()->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(window->exportWindow(), nullptr);
        openExport();
    }
    EXPECT_FALSE(std::filesystem::exists(out + "x.png")) << "closing writes nothing";
}

TEST_F(ExportWindowTest, WritesTheSheetAtEveryDepthOnEitherBackground)
{
    buildCanvas();
    struct Export {
        const char* depth;
        int background;
        bool powerOfTwo;
    };
    const Export exports[] = {
        {"32 bit", 0, false}, {"32 bit", 1, true}, {"8 bit", 0, true},  {"8 bit", 1, false},
        {"4 bit", 1, false},  {"4 bit", 0, true},  {"1 bit", 0, false}, {"1 bit", 1, true},
    };
    for (const Export& e : exports) {
        SCOPED_TRACE(std::string(e.depth) + (e.background ? " magenta" : " black") +
                     (e.powerOfTwo ? " power of 2" : ""));
        openExport();
        // A name without an extension gets ".png" from the panel's pattern.
        chooseSheetPath(out + "sheet");
        EXPECT_EQ(gadget<QLineEdit>(kSheetPathField)->text().toStdString(), out + "sheet.png");
        choose(kDepthList, e.depth);
        gadget<QComboBox>(kBackgroundList)->setCurrentIndex(e.background);
        if (e.powerOfTwo)
            gadget<QCheckBox>(kPowerOfTwoBox)->click();
        pressExport();
        EXPECT_EQ(window->exportWindow(), nullptr);
        EXPECT_EQ(lastShown(), kExported);

        const PngFile sheet = readPng(out + "sheet.png");
        const int depth = std::atoi(e.depth);
        EXPECT_EQ(sheet.colourType, depth == 32 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_PALETTE);
        EXPECT_EQ(sheet.bitDepth, depth == 32 ? 8 : depth);
        EXPECT_EQ(sheet.width, e.powerOfTwo ? 32 : 30);
        EXPECT_EQ(sheet.height, e.powerOfTwo ? 64 : 40);

        const Rgba background = e.background ? Rgba{255, 0, 255, 255} : Rgba{0, 0, 0, 255};
        // Sheet places worked out from the layout: the turned picture's
        // pixel (u, v) lies at column v, row 39 - u; the square one at
        // (10, 10) covers columns 10 to 29 of rows 10 to 29.
        struct Expected {
            QPoint at;
            Rgba colour;
            // Covers much of the sheet, so that a palette holds it closely;
            // a palette may merge single pixels into a nearby colour.
            bool broad;
        };
        const Expected expected[] = {
            {{0, 39}, kCornerTopLeft, false},     {{0, 0}, kCornerTopRight, false},
            {{19, 39}, kCornerBottomLeft, false}, {{19, 0}, kCornerBottomRight, false},
            {{28, 20}, kEdge, false},             {{5, 20}, kGrey, true},
            {{15, 20}, kGreen, true},             {{29, 20}, background, true},
            {{25, 5}, background, true},          {{25, 35}, background, true},
        };
        for (const auto& [at, colour, broad] : expected) {
            const Rgba written = sheet.at(at.x(), at.y());
            if (depth == 32) {
                EXPECT_EQ(written, colour) << at.x() << ", " << at.y();
            } else if (depth == 1) {
                const double luminance = 0.2126 * colour[0] + 0.7152 * colour[1] + 0.0722 * colour[2];
                const int level = luminance > 160 ? 255 : 0;
                EXPECT_EQ(written, (Rgba{level, level, level, 255})) << at.x() << ", " << at.y();
            } else if (broad) {
                for (std::size_t i = 0; i < 4; ++i)
                    EXPECT_NEAR(written[i], colour[i], 12) << at.x() << ", " << at.y() << " channel " << i;
            }
        }
        if (e.powerOfTwo) {
            EXPECT_EQ(sheet.at(31, 63), sheet.at(25, 5)) << "the rounding adds background";
        }
    }
}

// The script goes to its file, never to the clipboard, even when the
// Clipboard template was chosen first.
TEST_F(ExportWindowTest, FileTemplateWritesTheScriptWithRetinaHalvingPositions)
{
    buildCanvas();
    host.clipboard = "untouched";
    for (bool retina : {false, true}) {
        openExport();
        chooseSheetPath(out + "hero.png");
        gadget<QSpinBox>(kSheetNumberField)->setValue(7);
        choose(kTemplateList, "Clipboard");
        choose(kTemplateList, "sprites");
        EXPECT_EQ(scriptEnabled(), "111");
        EXPECT_EQ(gadget<QLineEdit>(kScriptPathField)->text(), "");
        host.paths.push_back(out + "hero");
        clickExportGadget(kScriptPathButton);
        EXPECT_EQ(lastShown(), "save|Save Script...|*.csv|(*.csv)|*.csv");
        EXPECT_EQ(gadget<QLineEdit>(kScriptPathField)->text().toStdString(), out + "hero.csv");
        if (retina)
            gadget<QCheckBox>(kRetinaBox)->click();
        pressExport();
        EXPECT_EQ(lastShown(), kExported);
        // a.png (index 1) turned at (0, 0), b.png (index 2) at (10, 10).
        const std::string expected = retina ? "sheet,hero.png,15,20,7\n"
                                              "1,a,0,0,10,20,true\n"
                                              "2,b,5,5,10,10,false\n"
                                            : "sheet,hero.png,30,40,7\n"
                                              "1,a,0,0,20,40,true\n"
                                              "2,b,10,10,20,20,false\n";
        EXPECT_EQ(readBytes(out + "hero.csv"), expected);
        EXPECT_EQ(readPng(out + "hero.png").width, 30) << "Retina leaves the sheet's pixels alone";
        EXPECT_EQ(host.clipboard, "untouched");
    }
}

// The Clipboard template's text is checked whole by its golden case; here
// the window hands the canvas's names to the clipboard with CR LF ends.
TEST_F(ExportWindowTest, ClipboardTemplateCopiesTheScriptAndWritesNoFile)
{
    buildCanvas();
    openExport();
    chooseSheetPath(out + "sheet.png");
    choose(kTemplateList, "Clipboard");
    EXPECT_EQ(scriptEnabled(), "000");
    EXPECT_EQ(gadget<QLineEdit>(kScriptPathField)->text(), R"(th.Extension = "Clipboard")");
    pressExport();
    EXPECT_EQ(lastShown(), "message|Exported!|Your sprite sheet has been saved to disk and the script has been "
                           "copied to the clipboard.|");
    EXPECT_TRUE(host.clipboard.starts_with("This is how you copy")) << host.clipboard;
    EXPECT_NE(host.clipboard.find("\r\n\r\n a\r\n b\r\n\r\n"), std::string::npos) << host.clipboard;
    EXPECT_EQ(th::testing::namesIn(out), std::vector<std::string>{"sheet.png"});

    // A clipboard template, then "Select a script...": the sheet alone.
    host.clipboard = "untouched";
    openExport();
    chooseSheetPath(out + "alone.png");
    choose(kTemplateList, "Clipboard");
    choose(kTemplateList, "Select a script...");
    EXPECT_EQ(gadget<QLineEdit>(kScriptPathField)->text(), "");
    EXPECT_EQ(scriptEnabled(), "000");
    pressExport();
    EXPECT_EQ(lastShown(), kExported);
    EXPECT_EQ(host.clipboard, "untouched");
    EXPECT_TRUE(std::filesystem::exists(out + "alone.png"));
}

TEST_F(ExportWindowTest, RefusalsAndAFailedWriteKeepTheWindowAndItsChoices)
{
    buildCanvas();
    ExportWindow* exportWindow = openExport();

    // The panel's title, proposed name and pattern; a cancelled panel empties the field.
    chooseSheetPath(out + "kept.png");
    EXPECT_EQ(lastShown(), "save|Save Image...|*.png|PNG (*.png)|*.png");
    chooseSheetPath("");
    EXPECT_EQ(gadget<QLineEdit>(kSheetPathField)->text(), "");
    pressExport();
    EXPECT_EQ(lastShown(), "message|Wait!|You need to select where to save the sprite sheet.|");
    EXPECT_EQ(window->exportWindow(), exportWindow);
    EXPECT_TRUE(std::filesystem::is_empty(out));

    // A folder that is really a file: the notice names the file and why.
    writeBytes(out + "blocker", "a file, not a folder");
    const std::string blocked = out + "blocker/sheet.png";
    gadget<QLineEdit>(kSheetPathField)->setText(QString::fromStdString(blocked));
    choose(kDepthList, "4 bit");
    choose(kTemplateList, "plist");
    pressExport();
    EXPECT_EQ(lastShown(), "message|Not Saved!|The sprite sheet could not be saved as " + blocked + " because " + out +
                               "blocker is a file, not a folder.|");
    ASSERT_EQ(window->exportWindow(), exportWindow);
    EXPECT_EQ(choices(), blocked + "|4 bit|retina 0|power 0|RGB 0 0 0|0 of 0-9999|extrude 0 of 0-8|plist|script 111|sheet 1");

    // A typed path is taken as typed; with no script path the sheet is
    // written and the window waits for one.
    gadget<QLineEdit>(kSheetPathField)->setText(QString::fromStdString(out + "typed"));
    pressExport();
    EXPECT_EQ(lastShown(), "message|Wait!|You need to select where to save the script.|");
    EXPECT_EQ(readPng(out + "typed").bitDepth, 4);
    ASSERT_EQ(window->exportWindow(), exportWindow);
    EXPECT_EQ(choices(), out + "typed|4 bit|retina 0|power 0|RGB 0 0 0|0 of 0-9999|extrude 0 of 0-8|plist|script 111|sheet 1");
}

// The export runs aside while the progress window answers: Cancel pressed
// while the palette of a large canvas is learnt stops the export before its
// first row, so the sheet written before stays byte for byte and the window
// keeps its choices; run again, the export writes the same bytes.
TEST_F(ExportWindowTest, CancelWhileThePaletteIsLearntKeepsTheSheetWrittenBefore)
{
    const std::string folder = makeFolder("large");
    writePng(folder + "large.png", 2048, 2048, [](int u, int v) { return qRgb(u & 255, v & 255, ((u ^ v) >> 4) & 255); });
    openFolder(folder);
    const std::string sheet = out + "large.png";
    openExport();
    chooseSheetPath(sheet);
    choose(kDepthList, "8 bit");
    pressExport();
    ASSERT_EQ(lastShown(), kExported);
    const std::string written = readBytes(sheet);

    ExportWindow* exportWindow = openExport();
    exportWindow->setProgressDelay(0);
    chooseSheetPath(sheet);
    choose(kDepthList, "8 bit");
    const std::size_t shown = host.shown.size();
    // What the progress window said each time the event loop came round.
    QStringList said;
    bool cancelled = false;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = exportWindow->findChild<QProgressDialog*>();
        if (cancelled || !progress || !progress->isVisible())
            return;
        said << progress->labelText();
        if (progress->labelText() == "Quantising") {
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            cancelled = true;
        }
    });
    watch.start();
    pressExport();
    watch.stop();
    EXPECT_TRUE(cancelled) << said.join(", ").toStdString();
    EXPECT_EQ(said.filter("Writing").size(), 0) << said.join(", ").toStdString();
    EXPECT_EQ(host.shown.size(), shown) << "a cancel has no notice";
    ASSERT_EQ(window->exportWindow(), exportWindow);
    EXPECT_EQ(gadget<QComboBox>(kDepthList)->currentText(), "8 bit");
    EXPECT_TRUE(readBytes(sheet) == written) << "the sheet written before stays";

    pressExport();
    EXPECT_EQ(lastShown(), kExported);
    EXPECT_TRUE(readBytes(sheet) == written) << "the same canvas gives the same bytes";
}

TEST_F(ExportWindowTest, MainMenusRestWhileTheExportWindowIsActiveAndItComesBackToTheFront)
{
    buildCanvas();
    ExportWindow* exportWindow = openExport();
    const auto exportWindowActive = [&] {
        return QTest::qWaitFor([&] { return QApplication::activeWindow() == exportWindow; });
    };
    ASSERT_TRUE(exportWindowActive()) << "the new window comes to the front";
    const auto expectMenusAtRest = [this] {
        for (int item : {kMenuNewCanvas, kMenuOpenImageFolder, kMenuImportImage, kMenuDeleteImage, kMenuExportSheet,
                         kMenuResetColumns, kMenuClipAlpha, kMenuExpandClip, kMenuSaveScript, kMenuDeleteScript,
                         kMenuScriptWindow, kMenuOpenProject, kMenuSaveProject, kMenuSaveProjectAs}) {
            EXPECT_FALSE(window->menuAction(item)->isEnabled()) << item;
        }
    };
    expectMenusAtRest();

    // Quit and Help are never disabled, so their keys work here too.
    for (const auto& [item, key, modifiers] : {std::tuple{kMenuQuit, Qt::Key_Q, Qt::ControlModifier},
                                               std::tuple{kMenuHelp, Qt::Key_F1, Qt::NoModifier}}) {
        QSignalSpy triggered(window->menuAction(item), &QAction::triggered);
        QTest::keyClick(exportWindow, key, modifiers);
        EXPECT_EQ(triggered.count(), 1) << item;
    }

    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(exportWindowActive()) << "activating the main window brings it back";
    expectMenusAtRest();

    clickExportGadget(kCancelButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(window->menuAction(kMenuExportSheet)->isEnabled());
    EXPECT_EQ(window->menuAction(kMenuExportSheet)->shortcut(), QKeySequence("Ctrl+Shift+S"));
}

TEST_F(ExportWindowTest, WaitsForTheScriptEditorAndThenListsTheTemplateMadeThere)
{
    buildCanvas();
    th::toolkit::PreferenceStore store;
    window->enableScriptEditor(store, dataFolder + "TileHeronV2.prefs", dataFolder);
    click(kScriptEditorButton);
    th::editor::ScriptEditorWindow* editor = window->scriptEditor();
    ASSERT_TRUE(editor && editor->isVisible());

    // Refused before it starts, so the button does not flash.
    PaintedPictures painted(static_cast<QLabel*>(window->gadget(kExportButton)));
    click(kExportButton);
    EXPECT_EQ(lastShown(), "message|Wait!|The script window needs to be closed first. Be sure to save any edited "
                           "scripts.|");
    EXPECT_EQ(std::count(painted.keys.begin(), painted.keys.end(), pictures.byNumber.value(9).cacheKey()), 0);
    EXPECT_EQ(window->exportWindow(), nullptr);

    // The main menu's "Save Script", live while the editor is in front,
    // acts on the editor's selected tab, and its key reaches it there.
    QApplication::setActiveWindow(editor);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->menuAction(kMenuSaveScript)->isEnabled(); }));
    static_cast<QLineEdit*>(editor->element(th::editor::kNameField))->setText("walk");
    editor->onElement(th::editor::kCreateButton);
    editor->currentEditor()->setPlainText("th.ImageName");
    host.answers = {true};
    QTest::keyClick(editor->currentEditor(), Qt::Key_S, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(readBytes(dataFolder + "walk.txt"), "th.ImageName\n");

    // Closing the main window would end the program: the editor asks about
    // its unsaved edits first, and No keeps both open.
    editor->currentEditor()->insertPlainText("unsaved");
    host.answers = {false};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(editor->isVisible() && window->isVisible());
    EXPECT_EQ(host.titles().back(), "Discard Changes?");

    host.answers = {true};
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    openExport();
    EXPECT_GE(gadget<QComboBox>(kTemplateList)->findText("walk"), 0);
}

} // namespace
