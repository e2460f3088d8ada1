#include "project/Project.h"

#include "toolkit/TemplateList.h"

namespace th::project {

exporting::ExportRequest exportRequestFor(const Project& project, const std::string& dataFolder)
{
    exporting::ExportRequest request = project.exportChoices;
    if (project.templateName.empty())
        request.chooseTemplate(std::nullopt);
    else
        request.chooseTemplate(toolkit::templateFile(dataFolder, project.templateName));
    return request;
}

} // namespace th::project
