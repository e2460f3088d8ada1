#include "project/ProjectCommands.h"

#include "export/SavePanels.h"
#include "project/ProjectCanvas.h"
#include "project/ProjectFile.h"
#include "project/ProjectNotices.h"
#include "files/ReplacingFile.h"
#include "toolkit/Host.h"
#include "toolkit/TemplateList.h"

namespace th::project {

namespace {

constexpr const char* kNotOpened = "Not Opened!";
const std::string kPattern = "Tile Heron Project (*.theron)|*.theron";

std::filesystem::path failedMarker(const std::filesystem::path& autosave)
{
    std::filesystem::path marker = autosave;
    marker += kFailedSuffix;
    return marker;
}

std::string spritesText(std::size_t count)
{
    return count == 1 ? "1 sprite" : std::to_string(count) + " sprites";
}

} // namespace

ProjectCommands::ProjectCommands(canvas::CanvasEditor& editor, canvas::CanvasMouse& mouse, toolkit::Host& host,
                                 canvas::PictureLoader load)
    : editor_(editor)
    , mouse_(mouse)
    , host_(host)
    , load_(std::move(load))
{
}

Project ProjectCommands::current() const
{
    Project project = projectOf(editor_.model(), mouse_.snapToGrid());
    project.exportChoices = choices_.exportChoices;
    project.templateName = choices_.templateName;
    return project;
}

bool ProjectCommands::openProject()
{
    if (!editor_.model().sprites().empty()
        && !host_.ask("Clear the Canvas?", "Are you sure you want to clear the canvas and open a project?"))
        return false;
    const std::string file = host_.openPanel("Open Project...", kPattern);
    if (file.empty() || !open(file))
        return false;
    file_ = file;
    return true;
}

// Everything is read and checked before the first change, so a refusal at
// any step leaves the canvas untouched. A project too large for the memory
// there is is one more such refusal.
bool ProjectCommands::open(const std::filesystem::path& file)
{
    try {
        return openChecked(file);
    } catch (const std::bad_alloc&) {
        host_.message(kNotOpened, notOpenedText(file, {kOutOfMemory}));
        return false;
    }
}

bool ProjectCommands::openChecked(const std::filesystem::path& file)
{
    ProjectReading reading = readProject(file);
    if (!reading.project) {
        host_.message(kNotOpened, notOpenedText(file, reading.problems));
        return false;
    }
    const Project& project = *reading.project;
    ProjectPictures pictures = loadPictures(project, load_);
    if (!pictures.unreadable.empty()) {
        const std::string unreadable = unreadableText(file, pictures.unreadable);
        // With no picture left there is nothing to open without them.
        if (pictures.unreadable.size() == project.sprites.size()) {
            host_.message(kNotOpened, unreadable);
            return false;
        }
        if (!host_.ask("Pictures Missing!", unreadable + "\n\nOpen the project without them?"))
            return false;
    }
    if (const std::vector<std::string> outside = outsideEveryCanvas(project, pictures); !outside.empty()) {
        host_.message(kNotOpened, notOpenedText(file, outside));
        return false;
    }
    arrange(editor_, project, std::move(pictures));
    mouse_.setSnapToGrid(project.snapToGrid);
    choices_.exportChoices = project.exportChoices;
    choices_.templateName = project.templateName;
    return true;
}

void ProjectCommands::saveProject()
{
    if (file_.empty())
        saveProjectAs();
    else
        save(file_);
}

void ProjectCommands::saveProjectAs()
{
    const std::string file =
        exporting::askSavePath(host_, {"Save Project...", "Untitled.theron", kPattern, kProjectExtension});
    if (!file.empty())
        save(file);
}

void ProjectCommands::save(const std::string& file)
{
    if (const files::FileResult saved = project::saveProject(current(), file); !saved.ok()) {
        host_.message("Not Saved!",
                      "The project could not be saved as " + file + " because " + files::describe(saved, file) + ".");
        return;
    }
    file_ = file;
}

bool ProjectCommands::offerRestore(const std::filesystem::path& autosave)
{
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(autosave, error)))
        return false;
    const ProjectReading kept = readProject(autosave);
    if (!kept.project) {
        setAside(autosave, kept.problems);
        return false;
    }
    if (kept.project->sprites.empty())
        return false;
    std::string question =
        "Tile Heron was closed with " + spritesText(kept.project->sprites.size()) + " on the canvas.";
    if (std::filesystem::exists(failedMarker(autosave), error))
        question += " The last changes could not be kept, so this arrangement may be older than what was on screen.";
    if (host_.ask("Restore Arrangement?", question + " Do you want to restore that arrangement?"))
        return open(autosave);
    // Forgotten, so that the next start is asked only about a new arrangement.
    (void)keep(autosave);
    return false;
}

// A kept arrangement that cannot be read would otherwise be read, and
// refused, at every start; moved aside it can still be looked at.
void ProjectCommands::setAside(const std::filesystem::path& autosave, const std::vector<std::string>& problems)
{
    std::filesystem::path damaged = autosave;
    damaged += kDamagedSuffix;
    std::error_code error;
    std::filesystem::rename(autosave, damaged, error);
    std::string text = "The arrangement kept at the last run could not be read";
    text += error ? ", and it could not be set aside either, so it stays as " + autosave.string()
                  : ", so it was set aside as " + damaged.string();
    host_.message("Arrangement Not Restored", text + ":" + listed(problems));
}

// The canvas is written whole or not at all; a failure is noted beside the
// arrangement, so that the next start can say it may be older than the
// canvas was. The note goes with the next write that succeeds.
files::FileResult ProjectCommands::keep(const std::filesystem::path& autosave) const
{
    const files::FileResult kept = project::saveProject(current(), autosave);
    std::error_code ignored;
    if (kept.ok())
        std::filesystem::remove(failedMarker(autosave), ignored);
    else if (!std::filesystem::exists(failedMarker(autosave), ignored))
        (void)files::replaceFile(failedMarker(autosave), "");
    return kept;
}

void ProjectCommands::exported(const exporting::ExportRequest& request)
{
    choices_.exportChoices = request;
    choices_.exportChoices.templateFile.reset();
    choices_.exportChoices.script = {};
    choices_.templateName = request.templateFile ? toolkit::templateName(*request.templateFile) : std::string();
}

} // namespace th::project
