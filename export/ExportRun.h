#pragma once
// What the "Export" button does with the choices of the export window:
// check them, write the sheet, expand the template, and say how it went.
// Plain C++; the window gathers the choices and shows the notice.

#include "canvas/CanvasModel.h"
#include "image/Color.h"

#include <filesystem>
#include <optional>
#include <string>

namespace th::image {
class ImageStore;
}
namespace th::toolkit {
class Host;
}

namespace th::exporting {

struct ExportChoices {
    std::string sheetPath;
    // The number of the chosen depth entry.
    int depth = 32;
    image::Colour background = 0;
    bool retina = false;
    bool powerOfTwo = false;
    // The chosen template's file; nothing while "Select a script..." is chosen.
    std::optional<std::filesystem::path> templateFile;
    // The chosen template sends its script to the clipboard.
    bool clipboard = false;
    std::string scriptPath;
    std::string sheetNumber = "0";
};

struct Notice {
    std::string title;
    std::string text;
};

struct ExportOutcome {
    // Everything was written: the window closes before the notice is shown.
    // Otherwise it stays open with the user's choices.
    bool completed = false;
    Notice notice;
};

// Writes the sheet (and the script, to its file or through the host to the
// clipboard) and returns what to tell the user. Refuses an empty sheet path
// and a used area of 0 before anything is written; a file-mode template
// without a script path is refused after the sheet is written, as the user
// may have wanted the sheet alone. The model is only read.
ExportOutcome runExport(const ExportChoices& choices, const canvas::CanvasModel& model,
                        image::ImageStore& images, toolkit::Host& host);

} // namespace th::exporting
