#pragma once
// The words for a project that cannot be opened as it is, shared by the
// window's commands and the command-line export.

#include <filesystem>
#include <string>
#include <vector>

namespace th::project {

// The problem named when a project and its pictures do not fit in memory.
inline constexpr const char* kOutOfMemory = "there is not enough memory to hold it and its pictures";

// "The project F could not be opened:" and a line for each problem.
std::string notOpenedText(const std::filesystem::path& file, const std::vector<std::string>& problems);
// "\n- " and a line, for each of the lines.
std::string listed(const std::vector<std::string>& problems);
// "These pictures of the project F could not be read:" and a line for each.
std::string unreadableText(const std::filesystem::path& file, const std::vector<std::string>& unreadable);

} // namespace th::project
