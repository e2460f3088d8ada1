#include "app/InformationWindows.h"

#include "help/AboutWindow.h"
#include "help/HelpWindow.h"
#include "help/SupportDocument.h"
#include "toolkit/QtText.h"

#include <QCoreApplication>

namespace th::app {

namespace {

void bringForward(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

InformationWindows::InformationWindows(QWidget* mainWindow, toolkit::Host& host, QIcon icon,
                                       std::function<void(QWidget*, bool)> opened)
    : mainWindow_(mainWindow)
    , host_(host)
    , icon_(std::move(icon))
    , opened_(std::move(opened))
{
}

void InformationWindows::openHelp()
{
    if (!help_) {
        const std::filesystem::path programFolder = toolkit::fileNameBytes(QCoreApplication::applicationDirPath());
        help_ = new help::HelpWindow(host_, help::supportDocument({programFolder / help::kInstalledReadme,
                                                                   TH_SOURCE_README}),
                                     mainWindow_);
        opened_(help_, true);
    }
    bringForward(help_);
}

void InformationWindows::openAbout()
{
    if (!about_) {
        about_ = new help::AboutWindow(icon_.pixmap(256), mainWindow_);
        opened_(about_, false);
    }
    bringForward(about_);
}

help::HelpWindow* InformationWindows::helpWindow() const
{
    return help_;
}

help::AboutWindow* InformationWindows::aboutWindow() const
{
    return about_;
}

} // namespace th::app
