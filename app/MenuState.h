#pragma once
// Which menu items are enabled and which keyboard shortcuts the main window
// carries, derived from which window is active and how many sprites there
// are. Plain C++; the window applies the result to its actions.

#include <map>
#include <optional>
#include <string>

namespace th::app {

// Which of the program's windows is in front; Other is one of the desktop's
// own (a message box, a file panel).
enum class ActiveWindow { Main, ScriptEditor, Export, About, Help, Other };

struct MenuState {
    // Menu identifier to enabled; identifiers not listed keep their state.
    std::map<int, bool> enabled;
    // Menu identifier to its shortcut in portable text ("Ctrl+N", "Backspace",
    // "-"); an empty text removes it. Every shortcut-bearing item is listed.
    std::map<int, std::string> shortcuts;
};

// Nothing changes while the About or help window, or a window of the
// desktop's own, is active (nullopt).
std::optional<MenuState> menuStateFor(ActiveWindow active, std::size_t spriteCount);

} // namespace th::app
