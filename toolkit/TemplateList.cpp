#include "toolkit/TemplateList.h"

#include "files/FolderListing.h"

namespace th::toolkit {

namespace {
constexpr std::string_view kTemplateExtension = ".txt";
}

std::vector<std::string> templateNames(const std::string& dataFolder)
{
    std::vector<std::string> names;
    for (const std::string& file : files::listFolder(dataFolder, "*.txt").value_or(std::vector<std::string>{})) {
        // An entry whose status cannot be read (a link to nowhere) is no template.
        std::error_code error;
        if (std::filesystem::status(dataFolder + file, error).type() != std::filesystem::file_type::not_found && !error)
            names.push_back(file.substr(0, file.size() - kTemplateExtension.size()));
    }
    return names;
}

std::filesystem::path templateFile(const std::string& dataFolder, const std::string& name)
{
    return std::filesystem::path(dataFolder + name + std::string(kTemplateExtension));
}

std::string templateName(const std::filesystem::path& file)
{
    const std::string name = file.filename().string();
    return name.ends_with(kTemplateExtension) ? name.substr(0, name.size() - kTemplateExtension.size()) : name;
}

} // namespace th::toolkit
