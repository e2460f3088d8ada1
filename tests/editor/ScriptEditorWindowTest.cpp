// The script editor window over a data folder made by a real first run, with
// the user's answers scripted.

#include "editor/ScriptEditorWindow.h"

#include "toolkit/DataFolder.h"
#include "toolkit/PreferenceStore.h"
#include "editor/ScriptEditorLayout.h"
#include "editor/Themes.h"
#include "editor/ThemeLook.h"
#include "testing/PlacedSprite.h"
#include "testing/ScriptedHost.h"
#include "testing/TempHome.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace th::editor;
using th::toolkit::PreferenceStore;
using th::testing::readBytes;
using th::testing::writeBytes;

class ScriptEditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = th::toolkit::prepareDataFolder(home.folder(), 60000, store);
        // Every window opens in a theme other than the first, with a saved
        // tab that matches no script's case, so the first tab is selected.
        store.selectGroup("Tab Selection");
        store.writeText("SavedTab", "multi loops");
        store.selectGroup("Theme");
        store.writeInteger("SavedTheme", 3);
        store.close();
        prefs = folder + th::toolkit::kPreferenceFileName;
    }
    // A window a test left open goes with the test (closed ones are gone).
    void TearDown() override { delete window; }
    void open()
    {
        window = new ScriptEditorWindow({store, prefs, folder, host});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    template <typename T>
    T* element(int number) const { return static_cast<T*>(window->element(number)); }
    QStringList tabTitles() const
    {
        QStringList titles;
        for (int i = 0; i < element<QTabWidget>(kTabPanel)->count(); ++i)
            titles << element<QTabWidget>(kTabPanel)->tabText(i);
        return titles;
    }
    void click(int number) { QTest::mouseClick(window->element(number), Qt::LeftButton); }
    // Closes the window as its close box does and lets it go.
    bool close()
    {
        const bool closed = window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }

    th::testing::TempHome home;
    th::testing::ScriptedHost host{home.folder()};
    PreferenceStore store;
    std::string folder;
    std::string prefs;
    QPointer<ScriptEditorWindow> window;
};

// One session from open to close, and the reopening that finds its choices
// and shows the preview.
TEST_F(ScriptEditorWindowTest, OpensReselectsTheSavedTabAndThemeItsButtonsAndGalleryEditTheLibraryAndItsPreviewFollowsEdits)
{
    open();
    EXPECT_EQ(tabTitles(), (QStringList{"Clipboard", "HTML5", "Multi Loops", "Pure Data", "plist"}));
    auto* tabs = element<QTabWidget>(kTabPanel);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(element<QComboBox>(kThemeList)->currentText(), "RGB");
    EXPECT_EQ(window->currentEditor()->toPlainText().toStdString() + "\n", readBytes(folder + "Clipboard.txt"));
    // Each tab shows its text from the first column and line, at open and
    // when chosen.
    for (int tab : {0, 1, 2}) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        QPlainTextEdit* editor = window->currentEditor();
        EXPECT_EQ(editor->horizontalScrollBar()->value(), 0) << tab;
        EXPECT_EQ(editor->cursorForPosition(QPoint(0, 0)).position(), 0) << tab;
    }

    const auto menuOf = [this](int button) { return element<QPushButton>(button)->menu()->actions(); };
    window->resize(800, 600);
    QApplication::processEvents();
    for (int number : {int(kTabPanel), int(kDeleteButton), int(kSaveButton), int(kTagsFrame), int(kThemeList),
                       kFirstTokenButton + 14}) {
        const ElementRect r = scriptEditorRect(number, 800, 600);
        EXPECT_EQ(window->element(number)->geometry(), QRect(r.x, r.y, r.width, r.height)) << number;
    }

    element<QLineEdit>(kNameField)->setText("walk");
    click(kCreateButton);
    EXPECT_EQ(tabTitles().last(), "walk");
    EXPECT_EQ(element<QTabWidget>(kTabPanel)->currentIndex(), 5);
    EXPECT_EQ(element<QLineEdit>(kNameField)->text(), "");

    // A token replaces the selection as if typed; the tab shows the edit.
    QPlainTextEdit* editor = window->currentEditor();
    editor->setFocus();
    QTest::keyClicks(editor, "ab");
    editor->selectAll();
    click(kFirstTokenButton + 14);
    // The later tokens, in the table's order after the buttons'.
    menuOf(kMoreTagsButton)[9]->trigger();
    EXPECT_EQ(editor->toPlainText(), "th.Extension = th.PivotX");
    EXPECT_EQ(tabTitles().last(), "*walk");

    host.answers = {true};
    click(kSaveButton);
    EXPECT_EQ(readBytes(folder + "walk.txt"), "th.Extension = th.PivotX\n");
    EXPECT_EQ(tabTitles().last(), "walk");

    host.answers = {true};
    click(kDeleteButton);
    EXPECT_FALSE(std::filesystem::exists(folder + "walk.txt"));
    EXPECT_EQ(tabTitles().size(), 5);

    // Gallery templates are added under a confirmed name.
    const auto shipped = [](const char* file) {
        QFile resource(QStringLiteral(":/gallery/") + QLatin1String(file));
        EXPECT_TRUE(resource.open(QIODevice::ReadOnly)) << file;
        return resource.readAll().toStdString();
    };
    // What the row shows, the name typed, the menu entry, the answers, the
    // titles shown, the script and what its file then holds ("" for none).
    const std::tuple<const char*, QString, int, std::deque<bool>, std::vector<std::string>, std::string, std::string>
        rows[] = {
        {"the entry's own name", "", 0, {true}, {"New from Gallery", "Saved Script!"}, "JSON Hash", shipped("json-hash.txt")},
        {"a typed name", "hero atlas", 2, {true}, {"New from Gallery", "Saved Script!"}, "hero atlas",
         shipped("libgdx-atlas.txt")},
        {"not confirmed", "", 3, {false}, {"New from Gallery"}, "CSS Sprites", ""},
        {"replaced after the usual question", "HTML5", 4, {true, true},
         {"New from Gallery", "Overwrite Script?", "Saved Script!"},
         "HTML5", shipped("c-header.txt")},
    };
    for (const auto& [what, typedName, entry, answers, titles, script, content] : rows) {
        SCOPED_TRACE(what);
        host.shown.clear();
        host.answers = answers;
        element<QLineEdit>(kNameField)->setText(typedName);
        menuOf(kGalleryButton)[entry]->trigger();
        EXPECT_EQ(host.titles(), titles);
        const std::string path = folder + script + ".txt";
        EXPECT_EQ(std::filesystem::exists(path) ? readBytes(path) : std::string(), content);
        EXPECT_EQ(tabTitles().count(QString::fromStdString(script)), content.empty() ? 0 : 1)
            << tabTitles().join(",").toStdString();
        if (!content.empty()) {
            EXPECT_EQ(window->currentScript(), script);
            EXPECT_EQ(window->currentEditor()->toPlainText().toStdString() + "\n", content);
        }
    }

    // The choices made before closing reach the preference file.
    element<QTabWidget>(kTabPanel)->setCurrentIndex(2);
    element<QComboBox>(kThemeList)->setCurrentIndex(4);
    QTest::keyClicks(window->currentEditor(), "lost?");

    host.answers = {false, true};
    EXPECT_FALSE(close());
    EXPECT_EQ(host.shown.back().text,
              "The script window holds unsaved edits to \"Multi Loops\". Close it and lose them?");
    EXPECT_TRUE(close());
    EXPECT_FALSE(window);
    const std::string bytes = readBytes(prefs);
    EXPECT_NE(bytes.find("[Tab Selection]\nSavedTab = Multi Loops\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("[Theme]\nSavedTheme = 4\n"), std::string::npos) << bytes;
    // Every script was registered with an editor, the first with element 101.
    EXPECT_NE(bytes.find("[Tab ID's]\nClipboard = 101\nHTML5 = "), std::string::npos) << bytes;
    EXPECT_EQ(readBytes(folder + "Multi Loops.txt").find("lost?"), std::string::npos);

    open();
    EXPECT_EQ(element<QTabWidget>(kTabPanel)->tabText(element<QTabWidget>(kTabPanel)->currentIndex()), "Multi Loops");
    EXPECT_EQ(element<QComboBox>(kThemeList)->currentIndex(), 4);

    // The preview runs on another thread; each row waits for the text a
    // template gives. A run of two billion passes is started first and would
    // take minutes: the first row's text shows in time only when the newer
    // edit gave the older run up.
    PreviewSource source;
    for (int i = 1; i <= 3; ++i) {
        const std::string name = "s" + std::to_string(i) + ".png";
        source.sprites.insert(source.sprites.size(), th::testing::placed(0, 0, 1, 1, false, name, i));
    }
    window->setPreviewPause(std::chrono::milliseconds(0));
    window->setPreviewSource([source] { return source; });
    std::vector<std::int64_t> chosen;
    window->setSpriteChooser([&chosen](std::int64_t number) { chosen.push_back(number); });
    click(kPreviewToggle);
    ASSERT_TRUE(element<QCheckBox>(kPreviewToggle)->isChecked());
    auto* preview = element<QPlainTextEdit>(kPreviewPane);
    editor = window->currentEditor();
    editor->setPlainText("th.Extension = .long\nth.Repeat\nth.Until 2000000000");
    ASSERT_TRUE(QTest::qWaitFor([&] { return element<QLabel>(kPreviewLabel)->text() == "Preview (.long)"; }));

    // The preview's first line, line count, last line and title.
    const auto shown = [&] {
        const QTextDocument* text = preview->document();
        return QStringList{text->firstBlock().text(), QString::number(text->blockCount()), text->lastBlock().text(),
                           element<QLabel>(kPreviewLabel)->text()};
    };
    const std::tuple<const char*, QString, QStringList> previews[] = {
        {"after two billion passes that write nothing", "after", {"after", "1", "after", "Preview (.txt)"}},
        {"stopped", "th.Repeat\nline th.ImageNumber\nth.Until 10000000",
         {"line 1", "2001", QStringLiteral("\u2026 preview stops here"), "Preview (.txt)"}},
        {"typed", "th.Extension = .plist\nhead\nth.Repeat\n<th.ImageName>\nth.Until 3",
         {"head", "4", "<s3>", "Preview (.plist)"}},
    };
    for (const auto& [name, typed, expected] : previews) {
        SCOPED_TRACE(name);
        editor->setPlainText(typed);
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown() == expected; })) << shown().join("|").toStdString();
    }

    // Line 3 of the last row's preview is the second pass's.
    const QTextBlock second = preview->document()->findBlockByNumber(2);
    ASSERT_EQ(second.text(), "<s2>");
    QTest::mouseClick(preview->viewport(), Qt::LeftButton, {}, preview->cursorRect(QTextCursor(second)).center());
    EXPECT_EQ(chosen, std::vector<std::int64_t>{2});

    editor->document()->setModified(false);
    ASSERT_TRUE(close());
    EXPECT_NE(readBytes(prefs).find("[Preview]\nShown = 1\n"), std::string::npos) << readBytes(prefs);
}

TEST_F(ScriptEditorWindowTest, TokensShowTheThemesColoursWhereverTheViewIsAndFollowTypingInTheActiveWindow)
{
    // Tokens before, inside and after a repeat block, each with the theme's
    // colour it must show.
    const std::vector<std::pair<QString, ThemeColour Theme::*>> words = {
        {"name", &Theme::plain},        {"th.Extension", &Theme::control}, {"th.ImageX", &Theme::image},
        {"th.SheetName", &Theme::sheet}, {"th.Repeat", &Theme::control},    {"th.ImageName", &Theme::image},
        {"th.Until", &Theme::control},   {"th.ImageCount", &Theme::image},  {"after", &Theme::plain},
        {"th.SheetHeight", &Theme::sheet},
    };
    const QString sample = "name th.Extension th.ImageX th.SheetName\nth.Repeat th.ImageName\n"
                           "th.Until = th.ImageCount\nafter th.SheetHeight\n";

    // Checks every word of the sample that starts at `from`: the ink most of
    // its fully covered pixels have is its colour. Glyph edges blend with the
    // tile, so only near-exact pixels count.
    const auto expectInks = [&](QPlainTextEdit& editor, int from, const Theme& theme) {
        const QList<QColor> inks = {qtColour(theme.plain), qtColour(theme.image), qtColour(theme.sheet),
                                    qtColour(theme.control), qtColour(theme.caret)};
        QApplication::processEvents();
        const QImage shot = editor.viewport()->grab().toImage();
        for (const auto& [word, ink] : words) {
            const int at = int(editor.toPlainText().indexOf(word, from));
            ASSERT_GE(at, 0) << word.toStdString();
            QTextCursor cursor(editor.document());
            cursor.setPosition(at);
            const QRect start = editor.cursorRect(cursor);
            cursor.setPosition(at + int(word.size()));
            const QRect area =
                QRect(start.topLeft(), QPoint(editor.cursorRect(cursor).left(), start.bottom())) & shot.rect();
            const auto covered = [&](const QColor& colour) {
                int count = 0;
                for (int y = area.top(); y <= area.bottom(); ++y)
                    for (int x = area.left(); x <= area.right(); ++x) {
                        const QColor pixel = shot.pixelColor(x, y);
                        count += std::abs(pixel.red() - colour.red()) <= 6 &&
                                 std::abs(pixel.green() - colour.green()) <= 6 &&
                                 std::abs(pixel.blue() - colour.blue()) <= 6;
                    }
                return count;
            };
            const QColor most = *std::ranges::max_element(inks, {}, covered);
            EXPECT_EQ((covered(most) > 0 ? most : QColor()).name().toStdString(),
                      qtColour(theme.*ink).name().toStdString())
                << word.toStdString();
        }
    };

    // A script the window opened with, shown and scrolled far down.
    writeBytes(folder + "long.txt", sample.repeated(1250).toStdString());
    open();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }));
    {
        SCOPED_TRACE("after scrolling 5,000 lines");
        auto* tabs = element<QTabWidget>(kTabPanel);
        tabs->setCurrentIndex(int(tabTitles().indexOf("long")));
        QPlainTextEdit* editor = window->currentEditor();
        ASSERT_EQ(editor->document()->blockCount(), 5000);
        editor->verticalScrollBar()->setValue(3000);
        QApplication::processEvents();
        const QTextBlock top = editor->cursorForPosition(QPoint(0, 0)).block();
        const int sampleStart = int(editor->toPlainText().indexOf("name", top.position()));
        expectInks(*editor, sampleStart, kThemes[3]);
    }
    for (int theme : {3, 2, 4}) {
        SCOPED_TRACE(::testing::Message() << "typed in theme " << theme);
        element<QComboBox>(kThemeList)->setCurrentIndex(theme);
        element<QLineEdit>(kNameField)->setText(QString("typed %1").arg(theme));
        click(kCreateButton);
        QPlainTextEdit* editor = window->currentEditor();
        EXPECT_EQ(QFontInfo(editor->font()).fixedPitch(), theme != kTypewriterTheme)
            << "a missing font's stand-in keeps its kind";
        QTest::keyClicks(editor, sample.left(sample.indexOf('\n')));
        editor->insertPlainText(sample.mid(sample.indexOf('\n')));
        expectInks(*editor, 0, kThemes[theme]);
    }
    EXPECT_EQ(tabTitles().first(), "Clipboard") << "colouring marks no script as edited";

    // Typing into a window that is not the active one leaves the colours
    // (recoloured, the new word would add a selection).
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isActiveWindow(); }));
    const qsizetype before = window->currentEditor()->extraSelections().size();
    window->currentEditor()->setFocus();
    window->currentEditor()->insertPlainText(" th.SheetName");
    EXPECT_EQ(window->currentEditor()->extraSelections().size(), before);
}

// Each tile is its resource as Qt's own decoder reads it.
TEST(ThemeTiles, AreTheirResourcesPixelForPixel)
{
    const ThemeLook look;
    for (int theme = 0; theme < int(kThemes.size()); ++theme) {
        const QImage resource(QString::fromUtf8(kThemes[theme].tile.data(), qsizetype(kThemes[theme].tile.size())));
        ASSERT_FALSE(resource.isNull()) << theme;
        EXPECT_EQ(look.tile(theme).toImage().convertToFormat(QImage::Format_RGBA8888),
                  resource.convertToFormat(QImage::Format_RGBA8888))
            << theme;
    }
}

} // namespace
