#include "project/ProjectNotices.h"

namespace th::project {

std::string listed(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n- " + line;
    return text;
}

std::string notOpenedText(const std::filesystem::path& file, const std::vector<std::string>& problems)
{
    return "The project " + file.string() + " could not be opened:" + listed(problems);
}

std::string unreadableText(const std::filesystem::path& file, const std::vector<std::string>& unreadable)
{
    return "These pictures of the project " + file.string() + " could not be read:" + listed(unreadable);
}

} // namespace th::project
