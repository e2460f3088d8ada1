#include "files/FolderListing.h"

#include <algorithm>
#include <filesystem>

#include <fnmatch.h>

namespace th::files {

std::optional<std::vector<std::string>> listFolder(const std::string& folder, std::string_view pattern)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return std::nullopt;
    const std::string wanted(pattern);
    std::vector<std::string> names;
    for (const auto& entry : entries) {
        std::string name = entry.path().filename().string();
        if (fnmatch(wanted.c_str(), name.c_str(), 0) == 0)
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace th::files
