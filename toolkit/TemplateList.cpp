#include "toolkit/TemplateList.h"

#include "files/FolderListing.h"

namespace th::toolkit {

namespace {
constexpr std::string_view kTemplateExtension = ".txt";
}

std::vector<std::string> templateNames(const std::string& dataFolder)
{
    std::vector<std::string> names = files::listFolder(dataFolder, "*.txt").value_or(std::vector<std::string>{});
    for (std::string& name : names)
        name.resize(name.size() - kTemplateExtension.size());
    return names;
}

std::filesystem::path templateFile(const std::string& dataFolder, const std::string& name)
{
    return std::filesystem::path(dataFolder + name + std::string(kTemplateExtension));
}

} // namespace th::toolkit
