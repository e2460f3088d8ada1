#include "export/ExportRun.h"

#include "export/EdgeExtrusion.h"
#include "export/ScriptDestination.h"
#include "export/SheetSave.h"
#include "export/SheetSize.h"
#include "export/TemplateEngine.h"
#include "export/TemplateTarget.h"
#include "files/FileResult.h"
#include "toolkit/Host.h"
#include "toolkit/Progress.h"

#include <algorithm>

namespace th::exporting {

namespace {

const Notice kNoSheetPath{"Wait!", "You need to select where to save the sprite sheet."};
const Notice kNoScriptPath{"Wait!", "You need to select where to save the script."};
const Notice kNoUsedArea{"Wait!", "No image reaches into the canvas, so the sprite sheet would be empty."};
// The clipboard keeps what it held.
const Notice kTooLargeForClipboard{"Not Saved!", "The script is too large for the clipboard."};
const Notice kSavedToDisk{"Exported!", "Your file(s) have been saved to disk."};
const Notice kSavedWithClipboard{
    "Exported!", "Your sprite sheet has been saved to disk and the script has been copied to the clipboard."};

ExportOutcome stayOpen(Notice notice)
{
    return {false, std::move(notice)};
}

Notice sheetProblem(const SheetOutcome& outcome, const ExportRequest& request, SheetSize size)
{
    if (outcome.result == SheetResult::NotComposed) {
        return {"Not Saved!", "A sprite sheet of " + std::to_string(size.width) + " x " +
                                  std::to_string(size.height) + " pixels could not be made."};
    }
    return {"Not Saved!", "The sprite sheet could not be saved as " + request.sheetPath + " because " +
                              image::describe(outcome.problem, request.sheetPath) + "."};
}

Notice scriptProblem(const Expansion& expansion, const ExportRequest& request)
{
    if (expansion.result == ExpansionResult::TemplateUnreadable) {
        const std::string file = request.templateFile->string();
        return {"Not Saved!", "The sprite sheet was saved, but the script template " + file +
                                  " could not be read because " + files::describe(expansion.problem, file) + "."};
    }
    if (request.script.clipboard)
        return kTooLargeForClipboard;
    return {"Not Saved!", "The sprite sheet was saved, but the script could not be saved as " +
                              request.scriptPath + " because " +
                              files::describe(expansion.problem, request.scriptPath) + "."};
}

} // namespace

ExportOutcome runExport(const ExportRequest& request, const canvas::CanvasModel& model,
                        image::ImageStore& images, toolkit::Host& host, toolkit::Progress* progress)
{
    const toolkit::ProgressScope work(progress);
    if (request.sheetPath.empty())
        return stayOpen(kNoSheetPath);
    const canvas::UsedArea used = canvas::usedArea(model);
    if (used.width <= 0 || used.height <= 0)
        return stayOpen(kNoUsedArea);

    const int extrude = std::clamp(request.extrude, 0, kMostExtrusion);
    const SheetSize size = exportSheetSize(request, model);
    // The template may ask for turned sprites to lie the other way round.
    const Turn turn = request.templateFile && templateTurnsClockwise(*request.templateFile) ? Turn::Clockwise
                                                                                             : Turn::CounterClockwise;
    const SheetRequest sheetRequest{request.sheetPath, size.width, size.height, static_cast<int>(request.depth),
                                    request.background, turn, extrude, model.clipMargin()};
    const SheetOutcome sheet = saveSpriteSheet(images, model.sprites(), sheetRequest, progress);
    if (sheet.result == SheetResult::Cancelled)
        return {false, {}, true};
    if (sheet.result != SheetResult::Written)
        return stayOpen(sheetProblem(sheet, request, size));

    const auto saved = [&sheet](Notice notice) {
        if (sheet.extrusionsMet > 0)
            notice.text += "\nThe extruded edges of " + std::to_string(sheet.extrusionsMet)
                           + " sprite(s) met those of a neighbour; a gap of twice the extrusion keeps them apart.";
        return ExportOutcome{true, std::move(notice)};
    };
    if (!request.templateFile)
        return saved(kSavedToDisk);
    if (!request.script.clipboard && request.scriptPath.empty())
        return stayOpen(kNoScriptPath);

    const ScriptInputs inputs = exportScriptInputs(request, model, size);

    if (request.script.clipboard) {
        ClipboardText clipboard;
        const Expansion expansion = expandTemplate(*request.templateFile, clipboard, model.sprites(), inputs, progress);
        if (expansion.result == ExpansionResult::Cancelled)
            return {false, {}, true};
        if (expansion.result != ExpansionResult::Written)
            return stayOpen(scriptProblem(expansion, request));
        host.setClipboardText(clipboard.text());
        return saved(kSavedWithClipboard);
    }
    ScriptFile script(request.scriptPath);
    const Expansion expansion = expandTemplate(*request.templateFile, script, model.sprites(), inputs, progress);
    if (expansion.result == ExpansionResult::Cancelled)
        return {false, {}, true};
    if (expansion.result != ExpansionResult::Written)
        return stayOpen(scriptProblem(expansion, request));
    return saved(kSavedToDisk);
}

SheetSize exportSheetSize(const ExportRequest& request, const canvas::CanvasModel& model)
{
    const canvas::UsedArea used = canvas::usedArea(model);
    // The outermost boxes' extruded edges get room on the right and below.
    const int extrude = std::clamp(request.extrude, 0, kMostExtrusion);
    return sheetSizeFor(used.width + extrude, used.height + extrude, request.powerOfTwo);
}

ScriptInputs exportScriptInputs(const ExportRequest& request, const canvas::CanvasModel& model, SheetSize size)
{
    ScriptInputs inputs;
    inputs.clipMargin = model.clipMargin();
    inputs.retina = request.retina;
    inputs.sheetWidth = size.width;
    inputs.sheetHeight = size.height;
    inputs.sheetPath = request.sheetPath;
    inputs.sheetNumber = std::to_string(request.sheetNumber);
    return inputs;
}

} // namespace th::exporting
