#pragma once
// Which menu items are enabled, which keyboard shortcuts the main window
// carries and what Undo and Redo say, derived from which window is active,
// how many sprites there are and what the undo history holds. Plain C++;
// the window applies the result to its actions.

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
    // "-"), several separated by "|"; an empty text removes it. Every
    // shortcut-bearing item is listed.
    std::map<int, std::string> shortcuts;
    // Menu identifier to its text, for the items whose text follows the state.
    std::map<int, std::string> texts;
};

// The steps the canvas's undo history would take back or do again, by name;
// empty when there is none.
struct UndoSteps {
    std::string undo;
    std::string redo;
};

// Nothing changes while the About or help window, or a window of the
// desktop's own, is active (nullopt).
std::optional<MenuState> menuStateFor(ActiveWindow active, std::size_t spriteCount, const UndoSteps& steps = {});

} // namespace th::app
