#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

namespace th::app {

MainWindow::MainWindow()
{
    setWindowTitle(tr("Tile Heron v2"));
    QMenu* file = menuBar()->addMenu(tr("File"));
    QAction* quit = file->addAction(tr("Quit"), QKeySequence::Quit, qApp, &QApplication::quit);
    quit->setMenuRole(QAction::QuitRole);
}

} // namespace th::app
