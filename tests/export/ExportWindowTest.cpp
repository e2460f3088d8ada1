// The export from the main window's button to the files: the real windows,
// a scripted host and real PNG files. What a sheet and a script hold for
// given choices is the export's own test (SheetTest and the template
// cases); here the window's choices reach the export and its outcome
// reaches the user.

#include "MainWindowFixture.h"

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
using th::testing::readPng;
using th::testing::readBytes;
using th::testing::writeBytes;

class ExportWindowTest : public th::testing::ExportingWindowTest {
protected:
    void SetUp() override
    {
        ExportingWindowTest::SetUp();
        out = makeFolder("out");
    }

    void chooseSheetPath(const std::string& path)
    {
        host.paths.push_back(path);
        clickExportGadget(kSheetPathButton);
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

    std::string out;
};

// One export window's life: it opens in front, centred over the main
// window, whose menus rest meanwhile; every export window starts from the
// same choices; refusals and a failed write keep the window and its choices.
TEST_F(ExportWindowTest, OpensInFrontWithTheSameChoicesAndKeepsThemThroughRefusals)
{
    arrangeTwoPictures();
    ExportWindow* exportWindow = openExport();
    ASSERT_TRUE(exportWindow);
    const auto exportWindowActive = [&] {
        return QTest::qWaitFor([&] { return QApplication::activeWindow() == exportWindow; });
    };
    ASSERT_TRUE(exportWindowActive()) << "the new window comes to the front";
    // Which items rest is the menu state's rule; the window applies it.
    EXPECT_FALSE(window->menuAction(kMenuExportSheet)->isEnabled());
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

    const std::string initial =
        "|32 bit|retina 0|power 0|RGB 0 0 0|0 of 0-9999|extrude 0 of 0-8|Select a script...|script 000|sheet 1";
    EXPECT_EQ(choices(), initial);
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
    clickExportGadget(kCancelButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->exportWindow(), nullptr);
    exportWindow = openExport();
    EXPECT_EQ(choices(), initial);

    // A cancelled panel empties the field.
    chooseSheetPath(out + "kept.png");
    chooseSheetPath("");
    EXPECT_EQ(gadget<QLineEdit>(kSheetPathField)->text(), "");
    pressExport();
    EXPECT_EQ(lastShown(), "message|Wait!|You need to select where to save the sprite sheet.|");
    EXPECT_EQ(window->exportWindow(), exportWindow);
    EXPECT_TRUE(std::filesystem::is_empty(out)) << "neither the closing nor the refusal wrote anything";

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

    ASSERT_TRUE(exportWindowActive());
    // Quit and Help are never disabled, so their keys work here too.
    for (const auto& [item, key, modifiers] : {std::tuple{kMenuQuit, Qt::Key_Q, Qt::ControlModifier},
                                               std::tuple{kMenuHelp, Qt::Key_F1, Qt::NoModifier}}) {
        QSignalSpy triggered(window->menuAction(item), &QAction::triggered);
        QTest::keyClick(exportWindow, key, modifiers);
        EXPECT_EQ(triggered.count(), 1) << item;
    }

    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(exportWindowActive()) << "activating the main window brings it back";
    EXPECT_FALSE(window->menuAction(kMenuExportSheet)->isEnabled());

    clickExportGadget(kCancelButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(window->menuAction(kMenuExportSheet)->isEnabled());
}

// Every choice reaches the export as made, and the script goes to the file
// or the clipboard its template names, or nowhere without a template.
TEST_F(ExportWindowTest, EveryChoiceReachesTheExportAndTheScriptGoesWhereItsTemplateSays)
{
    arrangeTwoPictures();
    const std::string saved = "message|Exported!|Your file(s) have been saved to disk.";
    const std::string copied = "message|Exported!|Your sprite sheet has been saved to disk and the script has been "
                               "copied to the clipboard.";
    const struct {
        const char* name;
        QStringList templates; // chosen in turn
        bool scriptFile;       // a script path is chosen in the panel; its label, field and button are enabled
        QString scriptField;
        bool clipboard; // the script is copied there; Power of Two is ticked instead of Retina
    } rows[] = {
        {"a file template chosen after the clipboard's", {"Clipboard", "sprites"}, true, "", false},
        {"the clipboard template", {"Clipboard"}, false, R"(th.Extension = "Clipboard")", true},
        {"no template after the clipboard's: the sheet alone", {"Clipboard", "Select a script..."}, false, "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(out);
        std::filesystem::create_directory(out);
        host.clipboard = "untouched";
        openExport();
        ExportRequest passed;
        QObject::connect(window->exportWindow(), &ExportWindow::exported, [&](const ExportRequest& r) { passed = r; });
        // A name chosen without an extension gets the panel's.
        chooseSheetPath(out + "hero");
        choose(kDepthList, "8 bit");
        choose(kBackgroundList, "RGB 255 0 255");
        gadget<QCheckBox>(row.clipboard ? kPowerOfTwoBox : kRetinaBox)->click();
        gadget<QSpinBox>(kSheetNumberField)->setValue(7);
        gadget<QSpinBox>(kExtrudeField)->setValue(2);
        for (const QString& entry : row.templates)
            choose(kTemplateList, entry);
        EXPECT_EQ(scriptEnabled(), row.scriptFile ? "111" : "000");
        EXPECT_EQ(gadget<QLineEdit>(kScriptPathField)->text(), row.scriptField);
        if (row.scriptFile) {
            host.paths.push_back(out + "hero");
            clickExportGadget(kScriptPathButton);
            EXPECT_EQ(lastShown(), "save|Save Script...|*.csv|(*.csv)|*.csv");
        }
        pressExport();
        // The notice's start: the extrusion adds a line.
        EXPECT_TRUE(lastShown().starts_with(row.clipboard ? copied : saved)) << lastShown();
        EXPECT_EQ(th::testing::namesIn(out), (row.scriptFile ? std::vector<std::string>{"hero.csv", "hero.png"}
                                                             : std::vector<std::string>{"hero.png"}));
        EXPECT_EQ(host.clipboard != "untouched", row.clipboard) << host.clipboard;
        EXPECT_EQ(std::tuple(passed.sheetPath, passed.depth, passed.background, passed.retina, passed.powerOfTwo,
                             passed.sheetNumber, passed.extrude),
                  std::tuple(out + "hero.png", SheetDepth::Bits8, kMagentaBackground, !row.clipboard, row.clipboard, 7, 2));
    }
}

// The export runs aside while the progress window answers: Cancel pressed
// while the palette of a large canvas is learnt ends the export with no
// notice and the window open with its choices; that the older file at the
// sheet's path stays as it was is the export run's test.
TEST_F(ExportWindowTest, CancelWhileThePaletteIsLearntEndsTheExportQuietlyAndKeepsTheWindow)
{
    const std::string folder = makeFolder("large");
    writePng(folder + "large.png", 2048, 2048, [](int u, int v) { return qRgb(u & 255, v & 255, ((u ^ v) >> 4) & 255); });
    openFolder(folder);
    ExportWindow* exportWindow = openExport();
    exportWindow->setProgressDelay(0);
    chooseSheetPath(out + "large.png");
    choose(kDepthList, "8 bit");
    const std::size_t shown = host.shown.size();
    bool cancelled = false;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = exportWindow->findChild<QProgressDialog*>();
        if (!cancelled && progress && progress->isVisible() && progress->labelText() == "Quantising") {
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            cancelled = true;
        }
    });
    watch.start();
    pressExport();
    watch.stop();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(host.shown.size(), shown) << "a cancel has no notice";
    ASSERT_EQ(window->exportWindow(), exportWindow);
    EXPECT_EQ(gadget<QComboBox>(kDepthList)->currentText(), "8 bit");
}

// The editor's own saving and asking about unsaved edits are its window's
// test; here the main window hands it Ctrl+S and its own closing.
TEST_F(ExportWindowTest, WaitsForTheScriptEditorAndThenListsTheTemplateMadeThere)
{
    arrangeTwoPictures();
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

    // Closing the main window would end the program: the editor's No to
    // losing its edits keeps it open.
    editor->currentEditor()->insertPlainText("unsaved");
    host.answers = {false};
    EXPECT_FALSE(window->close());

    host.answers = {true};
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    openExport();
    EXPECT_GE(gadget<QComboBox>(kTemplateList)->findText("walk"), 0);
}

} // namespace
