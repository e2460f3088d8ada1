#pragma once
// The Help menu's two windows: the help window and the About window, one of
// each at a time, brought to the front when asked for again.

#include <QIcon>
#include <QPointer>

#include <functional>

namespace th::help {
class AboutWindow;
class HelpWindow;
}
namespace th::toolkit {
class Host;
}

namespace th::app {

class InformationWindows {
public:
    // `opened` names each new window for the menu state.
    InformationWindows(QWidget* mainWindow, toolkit::Host& host, QIcon icon,
                       std::function<void(QWidget*, bool help)> opened);

    void openHelp();
    void openAbout();
    help::HelpWindow* helpWindow() const;
    help::AboutWindow* aboutWindow() const;

private:
    QWidget* mainWindow_;
    toolkit::Host& host_;
    QIcon icon_;
    std::function<void(QWidget*, bool)> opened_;
    QPointer<help::HelpWindow> help_;
    QPointer<help::AboutWindow> about_;
};

} // namespace th::app
