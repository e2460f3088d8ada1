// The help and About windows, opened from the real main window's menus.

#include "MainWindowFixture.h"

#include "help/AboutWindow.h"
#include "help/HelpWindow.h"

#include <QTextBrowser>

namespace {

using namespace th::app;
using HelpWindowTest = th::testing::MainWindowTest;

TEST_F(HelpWindowTest, F1OpensOneHelpWindowWhoseTextFollowsItsSizeAndAboutClosesAlone)
{
    QTest::keyClick(window.get(), Qt::Key_F1);
    th::help::HelpWindow* help = window->helpWindow();
    ASSERT_TRUE(help && help->isVisible());
    help->resize(800, 500);
    EXPECT_EQ(help->text()->geometry(), QRect(10, 10, 780, 480));

    emit help->text()->anchorClicked(QUrl(QStringLiteral("readme:")));
    ASSERT_FALSE(host.shown.empty());
    EXPECT_EQ(host.shown.back().kind, "show");
    EXPECT_TRUE(host.shown.back().text.ends_with("README.md")) << host.shown.back().text;

    window->menuAction(kMenuHelp)->trigger();
    EXPECT_EQ(window->helpWindow(), help) << "a second open brings the same window forward";

    window->menuAction(kMenuAbout)->trigger();
    th::help::AboutWindow* about = window->aboutWindow();
    ASSERT_TRUE(about && about->isVisible());
    EXPECT_FALSE(static_cast<QLabel*>(about->element(th::help::kAboutIcon))->pixmap().isNull());
    about->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->aboutWindow(), nullptr);
    EXPECT_TRUE(window->isVisible()) << "its close box closes only it";
}

} // namespace
