#pragma once
// The ".theron" file: UTF-8 JSON written by nlohmann-json, never by hand.
//
//   { "version": 1,
//     "canvas": { "size": 1024, "snapToGrid": false, "clipMargin": 0,
//                 "nextImportX": 0, "nextImportY": 0 },
//     "sprites": [ { "file": "pics/a.png", "x": 0, "y": 0, "rotated": false,
//                    "index": 1, "name": "a.png", "pivotX": 0.5, "pivotY": 0.5 }, ... ],
//     "export": { "sheet": "", "depth": 32, "background": "black",
//                 "retina": false, "powerOfTwo": false, "sheetNumber": 0,
//                 "extrude": 0, "template": "", "script": "" } }
// ("extrude" may be missing: 0.)
//
// A sprite without "pivotX" or "pivotY" (an older project) has 0.5 there.
// A sprite's file is relative to the project's folder when it lies below
// it (so a folder of project and pictures can move), absolute otherwise.

#include "files/FileResult.h"
#include "project/Project.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace th::project {

inline constexpr int kProjectVersion = 1;
inline constexpr const char* kProjectExtension = ".theron";

// The file's text for a project saved as `projectFile`.
std::string projectText(const Project& project, const std::filesystem::path& projectFile);

// Writes the file through the replacing writer: an old file stays whole
// when anything fails.
[[nodiscard]] files::FileResult saveProject(const Project& project, const std::filesystem::path& projectFile);

struct ProjectReading {
    // Set only when nothing is wrong.
    std::optional<Project> project;
    // Everything that is wrong, one clause each, in file order.
    std::vector<std::string> problems;
};

// Reads and checks a whole file: JSON syntax, the version, every field's
// type and range, and that the indices are 1 to N each once. Sprite files
// come back absolute; whether they can be read is not looked at here.
ProjectReading readProject(const std::filesystem::path& projectFile);
ProjectReading parseProject(std::string_view text, const std::filesystem::path& projectFile);

} // namespace th::project
