#pragma once
// What one export does with its request: check it, write the sheet, expand
// the template, and say how it went. Plain C++; the export window fills the
// request and shows the notice.

#include "canvas/CanvasModel.h"
#include "export/ExportRequest.h"

#include <string>

namespace th::image {
class ImageStore;
}
namespace th::toolkit {
class Host;
}

namespace th::exporting {

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
ExportOutcome runExport(const ExportRequest& request, const canvas::CanvasModel& model,
                        image::ImageStore& images, toolkit::Host& host);

} // namespace th::exporting
