#pragma once
// Where the README the help's "Support" section opens lies: installed beside
// the program, or in the source tree of a program run from its build folder.

#include <filesystem>
#include <optional>

namespace th::help {

// The first of `candidates` that is a file; nothing when none is.
std::optional<std::filesystem::path> supportDocument(std::initializer_list<std::filesystem::path> candidates);

// Where an installation puts the README, relative to the executable's folder.
inline const std::filesystem::path kInstalledReadme = "../share/doc/tile-heron/README.md";

} // namespace th::help
