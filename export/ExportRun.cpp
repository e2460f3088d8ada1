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

Notice sheetProblem(SheetResult result, const ExportChoices& choices, SheetSize size)
{
    if (result == SheetResult::NotComposed) {
        return {"Not Saved!", "A sprite sheet of " + std::to_string(size.width) + " x " +
                                  std::to_string(size.height) + " pixels could not be made."};
    }
    return {"Not Saved!", "The sprite sheet could not be saved as " + choices.sheetPath + " because " +
                              whyNotWritten(choices.sheetPath) + "."};
}

Notice scriptProblem(ExpansionResult result, const ExportChoices& choices)
{
    if (result == ExpansionResult::TemplateUnreadable) {
        const std::string file = choices.templateFile->string();
        return {"Not Saved!", "The sprite sheet was saved, but the script template " + file +
                                  " could not be read because " + whyNotRead(file) + "."};
    }
    return {"Not Saved!", "The sprite sheet was saved, but the script could not be saved as " +
                              choices.scriptPath + " because " + whyNotWritten(choices.scriptPath) + "."};
}

} // namespace

ExportOutcome runExport(const ExportChoices& choices, const canvas::CanvasModel& model,
                        image::ImageStore& images, toolkit::Host& host)
{
    if (choices.sheetPath.empty())
        return stayOpen(kNoSheetPath);
    const canvas::UsedArea used = canvas::usedArea(model);
    if (used.width <= 0 || used.height <= 0)
        return stayOpen(kNoUsedArea);

    const SheetSize size = sheetSizeFor(used.width, used.height, choices.powerOfTwo);
    const SheetRequest request{choices.sheetPath, size.width, size.height, choices.depth, choices.background};
    if (const SheetResult result = saveSpriteSheet(images, model.sprites(), request); result != SheetResult::Written)
        return stayOpen(sheetProblem(result, choices, size));

    if (!choices.templateFile)
        return {true, kSavedToDisk};
    if (!choices.clipboard && choices.scriptPath.empty())
        return stayOpen(kNoScriptPath);

    ScriptInputs inputs;
    inputs.clipMargin = model.clipMargin();
    inputs.retina = choices.retina;
    inputs.sheetWidth = size.width;
    inputs.sheetHeight = size.height;
    inputs.sheetPath = choices.sheetPath;
    inputs.sheetNumber = choices.sheetNumber;

    if (choices.clipboard) {
        ClipboardText clipboard;
        const ExpansionResult result = expandTemplate(*choices.templateFile, clipboard, model.sprites(), inputs);
        if (result != ExpansionResult::Written)
            return stayOpen(scriptProblem(result, choices));
        host.setClipboardText(clipboard.text());
        return {true, kSavedWithClipboard};
    }
    ScriptFile script(choices.scriptPath);
    const ExpansionResult result = expandTemplate(*choices.templateFile, script, model.sprites(), inputs);
    if (result != ExpansionResult::Written)
        return stayOpen(scriptProblem(result, choices));
    return {true, kSavedToDisk};
}

} // namespace th::exporting
