#pragma once
// project: a canvas arrangement with the last export's choices, kept as a
// ".theron" file (UTF-8 JSON). This header is the document; ProjectFile.h
// writes and reads it, ProjectCanvas.h takes it from and puts it on the
// canvas, ProjectCommands.h holds the File menu's project commands, and
// tile-heron-export (ExportTool.cpp) exports a project without a window.
// Plain C++; only the tool's own main (ExportTool.cpp) uses Qt Core, for
// its argument parser.

#include "export/ExportRequest.h"

#include <cstdint>
#include <string>
#include <vector>

namespace th::project {

struct ProjectSprite {
    // The picture file: absolute once read; as the canvas holds it otherwise.
    std::string file;
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool rotated = false;
    std::int32_t index = 0;
    std::string name;
    double pivotX = 0.5;
    double pivotY = 0.5;
    bool operator==(const ProjectSprite&) const = default;
};

struct Project {
    std::int32_t canvasSize = 1024;
    bool snapToGrid = false;
    std::int32_t clipMargin = 0;
    // Where the next imported picture goes.
    std::int32_t placeX = 0;
    std::int32_t placeY = 0;
    // In list (drawing) order.
    std::vector<ProjectSprite> sprites;
    // The last export's choices. Its template is kept by name, since the
    // script library's folder differs between users: templateFile and
    // script are left unset here and exportRequestFor() fills them.
    exporting::ExportRequest exportChoices;
    // "" for no template.
    std::string templateName;
};

// The project's export choices as a request, with the named template of
// the script library in `dataFolder` chosen.
exporting::ExportRequest exportRequestFor(const Project& project, const std::string& dataFolder);

} // namespace th::project
