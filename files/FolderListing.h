#pragma once
// Lists a folder's entries whose names match a case-sensitive pattern such
// as "*.png" ("*" and "?" wildcards; a leading "." is an ordinary character).
// Folders whose names match are listed too.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace th::files {

// The matching names (not paths), sorted by their bytes so that the order is
// the same on every run and every file system; nullopt when the folder cannot
// be listed.
std::optional<std::vector<std::string>> listFolder(const std::string& folder, std::string_view pattern);

} // namespace th::files
