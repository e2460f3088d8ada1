#pragma once
// The program's main window.

#include <QMainWindow>

namespace th::app {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();
};

} // namespace th::app
