#include "export/SavePanels.h"

#include "toolkit/Host.h"

#include <filesystem>

namespace th::exporting {

SavePanel sheetSavePanel()
{
    return {"Save Image...", "*.png", "PNG (*.png)|*.png", ".png"};
}

SavePanel scriptSavePanel(const std::string& extension)
{
    return {"Save Script...", "*" + extension, "(*" + extension + ")|*" + extension, extension};
}

std::string askSavePath(toolkit::Host& host, const SavePanel& panel)
{
    std::string path = host.savePanel(panel.title, panel.proposedName, panel.pattern);
    if (!path.empty() && !std::filesystem::path(path).filename().has_extension())
        path += panel.extension;
    return path;
}

} // namespace th::exporting
