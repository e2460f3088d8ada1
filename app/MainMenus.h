#pragma once
// The main menu bar, built from one table of identifiers and texts.

#include <QHash>

class QAction;
class QMenuBar;
class QObject;

namespace th::app {

// Builds the menus into `bar` and returns each item's action by identifier.
// Every action's data() holds its identifier.
QHash<int, QAction*> buildMainMenus(QMenuBar* bar, QObject* owner);

} // namespace th::app
