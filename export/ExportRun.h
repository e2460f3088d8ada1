#pragma once
// What one export does with its request: check it, write the sheet, expand
// the template, and say how it went. Plain C++; the export window fills the
// request and shows the notice.

#include "canvas/CanvasModel.h"
#include "export/ExportRequest.h"
#include "export/SheetSize.h"
#include "export/TemplateTokens.h"

#include <string>

namespace th::image {
class ImageStore;
}
namespace th::toolkit {
class Host;
class Progress;
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
    // The user stopped the sheet's save: nothing was written, any older
    // file stays, and there is no notice to show.
    bool cancelled = false;
};

// Writes the sheet (and the script, to its file or through the host to the
// clipboard) and returns what to tell the user. Refuses an empty sheet path
// and a used area of 0 before anything is written; a file-mode template
// without a script path is refused after the sheet is written, as the user
// may have wanted the sheet alone. The model is only read. `progress` hears
// of the sheet's stages and rows, may stop the save before the sheet is
// written, and has finished before the call returns.
ExportOutcome runExport(const ExportRequest& request, const canvas::CanvasModel& model,
                        image::ImageStore& images, toolkit::Host& host, toolkit::Progress* progress = nullptr);

// The sheet's size for these choices and the canvas as it is: the used area
// with room for the extruded edges, rounded as asked.
SheetSize exportSheetSize(const ExportRequest& request, const canvas::CanvasModel& model);
// What the script of such an export reads besides the sprites.
ScriptInputs exportScriptInputs(const ExportRequest& request, const canvas::CanvasModel& model, SheetSize size);

} // namespace th::exporting
