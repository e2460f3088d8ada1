// The help and About windows, opened from the real main window's menus.

#include "MainWindowFixture.h"

#include "help/AboutWindow.h"
#include "help/HelpWindow.h"

#include <QTextBrowser>
#include <QTextBlock>

namespace {

using namespace th::app;
using th::testing::MainWindowTest;

using HelpWindowTest = MainWindowTest;

TEST_F(HelpWindowTest, F1OpensOneReadOnlyHelpWindowWhoseTextFollowsItsSize)
{
    QTest::keyClick(window.get(), Qt::Key_F1);
    th::help::HelpWindow* help = window->helpWindow();
    ASSERT_TRUE(help && help->isVisible());
    EXPECT_EQ(help->windowTitle(), "Tile Heron Help");
    EXPECT_EQ(help->size(), QSize(1024, 620));
    EXPECT_EQ(help->text()->geometry(), QRect(10, 10, 1004, 600));
    help->resize(800, 500);
    EXPECT_EQ(help->text()->geometry(), QRect(10, 10, 780, 480));

    QTextBrowser* text = help->text();
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByMouse);
    QStringList headings;
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next())
        if (block.charFormat().fontWeight() == QFont::Bold && block.blockFormat().headingLevel() > 0)
            headings << block.text();
    EXPECT_EQ(headings, (QStringList{"Canvas Editor", "Script Editor", "Exporting", "Support"}));

    emit text->anchorClicked(QUrl(QStringLiteral("readme:")));
    ASSERT_FALSE(host.shown.empty());
    EXPECT_EQ(host.shown.back().kind, "show");
    EXPECT_TRUE(host.shown.back().text.ends_with("README.md")) << host.shown.back().text;

    window->menuAction(kMenuHelp)->trigger();
    EXPECT_EQ(window->helpWindow(), help) << "a second open brings the same window forward";
}

TEST_F(HelpWindowTest, AboutShowsTheIconAndVersionInASmallFixedWindow)
{
    window->menuAction(kMenuAbout)->trigger();
    th::help::AboutWindow* about = window->aboutWindow();
    ASSERT_TRUE(about && about->isVisible());
    EXPECT_EQ(about->size(), QSize(340, 170));
    EXPECT_EQ(about->minimumSize(), about->maximumSize());
    EXPECT_EQ(about->windowTitle(), " ") << "an empty title would show the program's name";
    EXPECT_FALSE(about->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(about->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(about->element(th::help::kAboutIcon)->geometry(), QRect(31, 21, 128, 128));
    EXPECT_EQ(static_cast<QLabel*>(about->element(th::help::kAboutIcon))->pixmap().size(), QSize(128, 128));
    EXPECT_EQ(static_cast<QLabel*>(about->element(th::help::kAboutNameLine))->text(), "Tile Heron v2.1.0");
    about->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->aboutWindow(), nullptr);
    EXPECT_TRUE(window->isVisible()) << "its close box closes only it";
}

} // namespace
