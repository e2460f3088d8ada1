#pragma once
// The two save panels of the export window: where the sheet goes and where
// the script goes.

#include <string>

namespace th::toolkit {
class Host;
}

namespace th::exporting {

struct SavePanel {
    std::string title;
    std::string proposedName;
    // "Description|*.ext", the form the export's panels have always used.
    std::string pattern;
    // What a name chosen without an extension gets.
    std::string extension;
};

SavePanel sheetSavePanel();
// For the chosen template's script extension, such as ".plist".
SavePanel scriptSavePanel(const std::string& extension);

// Runs the panel and returns the chosen path, or "" when cancelled. A name
// chosen without any extension gets the panel's one, on every host, because
// a desktop user expects a save panel to add it; a name with another
// extension stays as chosen.
std::string askSavePath(toolkit::Host& host, const SavePanel& panel);

} // namespace th::exporting
