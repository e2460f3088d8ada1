#include "canvas/DropPlan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace th::canvas {

namespace {

bool hasPngName(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".png";
}

// A folder's path may end in "/", which leaves its name empty.
std::string shownName(const std::string& dropped)
{
    const std::filesystem::path path(dropped);
    const std::string name = path.has_filename() ? path.filename().string() : path.parent_path().filename().string();
    return name.empty() ? dropped : name;
}

} // namespace

DropPlan planDrop(const std::vector<std::string>& dropped)
{
    DropPlan plan;
    std::error_code error;
    const auto folder = std::find_if(dropped.begin(), dropped.end(),
                                     [&error](const std::string& item) { return std::filesystem::is_directory(item, error); });
    if (folder != dropped.end())
        plan.folder = *folder;
    for (auto item = dropped.begin(); item != dropped.end(); ++item) {
        if (item == folder)
            continue;
        if (!plan.folder && std::filesystem::is_regular_file(*item, error) && hasPngName(*item))
            plan.pictures.push_back(*item);
        else
            plan.skipped.push_back(*item);
    }
    return plan;
}

std::string skippedDropNotice(const std::vector<std::string>& skipped)
{
    std::string names;
    for (const std::string& item : skipped)
        names += (names.empty() ? "\"" : ", \"") + shownName(item) + "\"";
    return "Skipped: " + names + ". The canvas takes PNG pictures, or one folder on its own.";
}

} // namespace th::canvas
