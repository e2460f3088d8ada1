#pragma once
// The main menu bar, built from one table of identifiers and texts, and
// brought to a menu state.

#include "app/MenuState.h"

#include <QHash>

class QAction;
class QMenuBar;
class QObject;

namespace th::app {

// Builds the menus into `bar` and returns each item's action by identifier.
// Every action's data() holds its identifier.
QHash<int, QAction*> buildMainMenus(QMenuBar* bar, QObject* owner);

// Sets the enabled state and the shortcut of every item the state names;
// an identifier with no item is passed over.
void applyMenuState(const MenuState& state, const QHash<int, QAction*>& actions);

} // namespace th::app
