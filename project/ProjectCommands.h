#pragma once
// The File menu's project commands and the arrangement kept for the next
// start. Plain C++ like the canvas commands: the user is asked through the
// host, pictures come through the loader, and the canvas changes only
// through the editing API. The window repaints after each command.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasEdit.h"
#include "canvas/CanvasMouse.h"
#include "files/FileResult.h"
#include "project/Project.h"

#include <filesystem>
#include <string>
#include <vector>

namespace th::toolkit {
class Host;
}

namespace th::project {

// The arrangement kept in the data folder for the next start.
inline constexpr const char* kAutosaveName = "Autosave.theron";
// Beside it: the name a damaged one is set aside under, and the note that
// its last write failed.
inline constexpr const char* kDamagedSuffix = ".damaged";
inline constexpr const char* kFailedSuffix = ".failed";

class ProjectCommands {
public:
    ProjectCommands(canvas::CanvasEditor& editor, canvas::CanvasMouse& mouse, toolkit::Host& host,
                    canvas::PictureLoader load);

    // "Open Project…": true when the canvas now holds the project. A file
    // with any fault, or pictures the user would rather not leave out,
    // leave the canvas as it was, with one notice of everything wrong.
    bool openProject();
    // "Save Project": to the file last opened or saved, else as "Save
    // Project As…" does.
    void saveProject();
    void saveProjectAs();

    // At start-up: when the kept arrangement holds sprites, asks whether to
    // bring it back and does so, saying when its last write failed; No keeps
    // the empty canvas and forgets the arrangement. One that cannot be read
    // is set aside under kDamagedSuffix, the user told. True when the canvas
    // changed.
    bool offerRestore(const std::filesystem::path& autosave);
    // Writes the canvas as it is now to the kept arrangement, noting beside
    // it whether the write failed.
    [[nodiscard]] files::FileResult keep(const std::filesystem::path& autosave) const;

    // A completed export's choices, saved with the project from now on.
    void exported(const exporting::ExportRequest& request);
    // The choices the next export starts from: the last export's, or the
    // opened project's; templateFile is unset and templateName names it.
    const Project& exportChoices() const { return choices_; }
    // The project file last opened or saved, or "".
    const std::string& projectFile() const { return file_; }

private:
    Project current() const;
    bool open(const std::filesystem::path& file);
    bool openChecked(const std::filesystem::path& file);
    void save(const std::string& file);
    void setAside(const std::filesystem::path& autosave, const std::vector<std::string>& problems);

    canvas::CanvasEditor& editor_;
    canvas::CanvasMouse& mouse_;
    toolkit::Host& host_;
    canvas::PictureLoader load_;
    Project choices_;
    std::string file_;
};

} // namespace th::project
