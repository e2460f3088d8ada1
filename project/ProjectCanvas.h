#pragma once
// Between a project and the canvas: what the canvas holds as a project, and
// a checked project put on the canvas through the editing API.

#include "canvas/CanvasCommands.h"
#include "canvas/CanvasEdit.h"
#include "project/Project.h"

#include <optional>
#include <string>
#include <vector>

namespace th::project {

// The canvas's arrangement; the export choices are left at their defaults.
Project projectOf(const canvas::CanvasModel& model, bool snapToGrid);

struct ProjectPictures {
    // One per sprite of the project, in its order; nullopt where unreadable.
    std::vector<std::optional<canvas::LoadedPicture>> pictures;
    // "name: why" for every picture that could not be read, in list order.
    std::vector<std::string> unreadable;
};

// Reads every sprite's picture before anything on the canvas changes.
ProjectPictures loadPictures(const Project& project, const canvas::PictureLoader& load);

// "name: …" for every sprite whose picture, where the project puts it, lies
// wholly outside even the largest canvas, with the range it could stand in.
std::vector<std::string> outsideEveryCanvas(const Project& project, const ProjectPictures& pictures);

// Replaces the canvas by the arrangement: a ClearCanvas when the canvas is
// not empty, a SetCanvasSize and a SetClip when they differ, and one
// AddSprites of every sprite whose picture was read. Sprites left out close
// their gaps in the indices, as deleting them would.
void arrange(canvas::CanvasEditor& editor, const Project& project, ProjectPictures pictures);

} // namespace th::project
