#include "project/ProjectCommands.h"

#include "export/SavePanels.h"
#include "project/ProjectCanvas.h"
#include "project/ProjectFile.h"
#include "project/ProjectNotices.h"
#include "toolkit/Host.h"
#include "toolkit/TemplateList.h"

namespace th::project {

namespace {

constexpr const char* kNotOpened = "Not Opened!";
const std::string kPattern = "Tile Heron Project (*.theron)|*.theron";

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
// any step leaves the canvas untouched.
bool ProjectCommands::open(const std::filesystem::path& file)
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
    const ProjectReading kept = readProject(autosave);
    if (!kept.project || kept.project->sprites.empty())
        return false;
    if (host_.ask("Restore Arrangement?", "Tile Heron was closed with " + spritesText(kept.project->sprites.size()) +
                                              " on the canvas. Do you want to restore that arrangement?"))
        return open(autosave);
    // Forgotten, so that the next start is asked only about a new arrangement.
    (void)keep(autosave);
    return false;
}

files::FileResult ProjectCommands::keep(const std::filesystem::path& autosave) const
{
    return project::saveProject(current(), autosave);
}

void ProjectCommands::exported(const exporting::ExportRequest& request)
{
    choices_.exportChoices = request;
    choices_.exportChoices.templateFile.reset();
    choices_.exportChoices.script = {};
    choices_.templateName = request.templateFile ? toolkit::templateName(*request.templateFile) : std::string();
}

} // namespace th::project
