#include "project/ProjectExport.h"

#include "canvas/PictureFile.h"
#include "export/ExportRun.h"
#include "image/ImageStore.h"
#include "image/StandardCodecs.h"
#include "project/ProjectCanvas.h"
#include "project/ProjectFile.h"
#include "project/ProjectNotices.h"
#include "toolkit/TemplateList.h"

namespace th::project {

namespace {

exporting::ExportRequest requestFor(const Project& project, const ExportOverrides& overrides,
                                    const std::string& dataFolder)
{
    exporting::ExportRequest request = exportRequestFor(project, dataFolder);
    if (overrides.sheetPath)
        request.sheetPath = *overrides.sheetPath;
    request.depth = overrides.depth.value_or(request.depth);
    request.background = overrides.background.value_or(request.background);
    request.powerOfTwo = request.powerOfTwo || overrides.powerOfTwo;
    request.retina = request.retina || overrides.retina;
    request.sheetNumber = overrides.sheetNumber.value_or(request.sheetNumber);
    request.extrude = overrides.extrude.value_or(request.extrude);
    if (overrides.templateName)
        request.chooseTemplate(toolkit::templateFile(dataFolder, *overrides.templateName));
    if (overrides.templateFile)
        request.chooseTemplate(std::filesystem::path(*overrides.templateFile));
    if (overrides.scriptPath)
        request.scriptPath = *overrides.scriptPath;
    return request;
}

// What the command line leaves missing or contradicts, found before anything
// is written: the sheet needs a place, a named template must be in the
// library, and the script must go where the command line says (a clipboard
// template's text has no file to go to, a file template's no place on the
// output).
std::string argumentProblem(const exporting::ExportRequest& request, const ExportOverrides& overrides,
                            const std::string& dataFolder)
{
    if (request.sheetPath.empty())
        return "Name the sheet with --sheet; the project holds no place for it.";
    if (overrides.templateName && !std::filesystem::is_regular_file(*request.templateFile))
        return "There is no template named \"" + *overrides.templateName + "\" in the script library " + dataFolder +
               ".";
    if (!request.templateFile)
        return {};
    const std::string name = "The template " + request.templateFile->string();
    if (request.script.clipboard && !overrides.clipboardToStdout)
        return name + " copies its script to the clipboard; ask for it with --clipboard-to-stdout.";
    if (!request.script.clipboard && (overrides.clipboardToStdout || request.scriptPath.empty()))
        return name + " writes its script to a file; name it with --script.";
    return {};
}

// Everything after the arguments were read; an allocation that fails on the
// way ends here as any other refusal would, not as an abort.
int exportOpened(const ExportOverrides& overrides, toolkit::Host& host, const std::string& dataFolder,
                 std::ostream& out, std::ostream& err)
{
    const ProjectReading reading = readProject(overrides.projectFile);
    if (!reading.project) {
        err << notOpenedText(overrides.projectFile, reading.problems) << "\n";
        return kExportFailed;
    }
    const Project& project = *reading.project;

    // Before the canvas, which frees its pictures in the store on the way out.
    image::ImageStore images;
    image::registerStandardCodecs(images);
    canvas::CanvasModel model;
    canvas::CanvasEditor editor(model);
    canvas::PictureFiles files(images);
    ProjectPictures pictures = loadPictures(project, [&files](const std::string& file) { return files.load(file); });
    if (!pictures.unreadable.empty()) {
        err << unreadableText(overrides.projectFile, pictures.unreadable) << "\n";
        return kExportFailed;
    }
    if (const std::vector<std::string> outside = outsideEveryCanvas(project, pictures); !outside.empty()) {
        err << notOpenedText(overrides.projectFile, outside) << "\n";
        return kExportFailed;
    }
    arrange(editor, project, std::move(pictures));

    const exporting::ExportRequest request = requestFor(project, overrides, dataFolder);
    if (const std::string problem = argumentProblem(request, overrides, dataFolder); !problem.empty()) {
        err << problem << "\n";
        return kBadArguments;
    }
    const exporting::ExportOutcome outcome = exporting::runExport(request, model, images, host);
    if (!outcome.completed) {
        err << outcome.notice.text << "\n";
        return kExportFailed;
    }
    std::ostream& lines = overrides.clipboardToStdout ? err : out;
    lines << request.sheetPath << "\n";
    if (request.templateFile && !request.script.clipboard)
        lines << request.scriptPath << "\n";
    return kExportDone;
}
} // namespace

int exportProject(const ExportOverrides& overrides, toolkit::Host& host, const std::string& dataFolder,
                  std::ostream& out, std::ostream& err)
{
    try {
        return exportOpened(overrides, host, dataFolder, out, err);
    } catch (const std::bad_alloc&) {
        err << notOpenedText(overrides.projectFile, {kOutOfMemory}) << "\n";
        return kExportFailed;
    }
}

} // namespace th::project
