#pragma once
// The script library: the templates are the data folder's "*.txt" files,
// listed the same way for the export window and the script editor.

#include <filesystem>
#include <string>
#include <vector>

namespace th::toolkit {

// The template names, each a file name without its final ".txt" (matched
// case-sensitively, dot files included), of the entries whose status can be
// read, sorted by their bytes as every folder listing of the program is;
// empty when the folder cannot be listed.
std::vector<std::string> templateNames(const std::string& dataFolder);

// The file behind a listed name: "a.txt" names "a.txt.txt".
std::filesystem::path templateFile(const std::string& dataFolder, const std::string& name);
// The name a template file is listed under; the inverse of templateFile().
std::string templateName(const std::filesystem::path& file);

} // namespace th::toolkit
