#include "export/ExportRun.h"

#include "export/FileProblem.h"
#include "export/ScriptDestination.h"
#include "export/SheetSave.h"
#include "export/SheetSize.h"
#include "export/TemplateEngine.h"
#include "toolkit/Host.h"

namespace th::exporting {

namespace {

const Notice kNoSheetPath{"Wait!", "You need to select where to save the sprite sheet."};
const Notice kNoScriptPath{"Wait!", "You need to select where to save the script."};
const Notice kNoUsedArea{"Wait!", "No image reaches into the canvas, so the sprite sheet would be empty."};
const Notice kSavedToDisk{"Exported!", "Your file(s) have been saved to disk."};
const Notice kSavedWithClipboard{
    "Exported!", "Your sprite sheet has been saved to disk and the script has been copied to the clipboard."};

ExportOutcome stayOpen(Notice notice)
{
    return {false, std::move(notice)};
}

Notice sheetProblem(SheetResult result, const ExportRequest& request, SheetSize size)
{
    if (result == SheetResult::NotComposed) {
        return {"Not Saved!", "A sprite sheet of " + std::to_string(size.width) + " x " +
                                  std::to_string(size.height) + " pixels could not be made."};
    }
    return {"Not Saved!", "The sprite sheet could not be saved as " + request.sheetPath + " because " +
                              whyNotWritten(request.sheetPath) + "."};
}

Notice scriptProblem(ExpansionResult result, const ExportRequest& request)
{
    if (result == ExpansionResult::TemplateUnreadable) {
        const std::string file = request.templateFile->string();
        return {"Not Saved!", "The sprite sheet was saved, but the script template " + file +
                                  " could not be read because " + whyNotRead(file) + "."};
    }
    return {"Not Saved!", "The sprite sheet was saved, but the script could not be saved as " +
                              request.scriptPath + " because " + whyNotWritten(request.scriptPath) + "."};
}

} // namespace

ExportOutcome runExport(const ExportRequest& request, const canvas::CanvasModel& model,
                        image::ImageStore& images, toolkit::Host& host)
{
    if (request.sheetPath.empty())
        return stayOpen(kNoSheetPath);
    if (model.sheetExtentX <= 0 || model.sheetExtentY <= 0)
        return stayOpen(kNoUsedArea);

    const SheetSize size = sheetSizeFor(model.sheetExtentX, model.sheetExtentY, request.powerOfTwo);
    const SheetRequest sheet{request.sheetPath, size.width, size.height, static_cast<int>(request.depth),
                             request.background};
    if (const SheetResult result = saveSpriteSheet(images, model.sprites, sheet); result != SheetResult::Written)
        return stayOpen(sheetProblem(result, request, size));

    if (!request.templateFile)
        return {true, kSavedToDisk};
    if (!request.script.clipboard && request.scriptPath.empty())
        return stayOpen(kNoScriptPath);

    ScriptInputs inputs;
    inputs.clipMargin = model.clipMargin;
    inputs.retina = request.retina;
    inputs.sheetWidth = size.width;
    inputs.sheetHeight = size.height;
    inputs.sheetPath = request.sheetPath;
    inputs.sheetNumber = std::to_string(request.sheetNumber);

    if (request.script.clipboard) {
        ClipboardText clipboard;
        const ExpansionResult result = expandTemplate(*request.templateFile, clipboard, model.sprites, inputs);
        if (result != ExpansionResult::Written)
            return stayOpen(scriptProblem(result, request));
        host.setClipboardText(clipboard.text());
        return {true, kSavedWithClipboard};
    }
    ScriptFile script(request.scriptPath);
    const ExpansionResult result = expandTemplate(*request.templateFile, script, model.sprites, inputs);
    if (result != ExpansionResult::Written)
        return stayOpen(scriptProblem(result, request));
    return {true, kSavedToDisk};
}

} // namespace th::exporting
